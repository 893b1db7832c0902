// The main window's options and information: the options sheet, the About box, the help file and
// the IP addresses of this computer.
#include <cstdio>

#include "app/gui/about_dlg.h"
#include "app/gui/main_dlg.h"

namespace quorlet {

void CMainDlg::ShowIpAddresses() {
    const auto host = m_services.net.LocalHostName();
    if (!host) {
        return;
    }
    for (const auto& address : m_services.net.ResolveIPv4(*host)) {
        char text[64];
        std::snprintf(text, sizeof text, "当前IP地址: %u.%u.%u.%u", address[0], address[1],
                      address[2], address[3]);
        m_services.prompter.Information(text);
    }
}

void CMainDlg::ShowHelp() {
    std::string folder = m_services.fileSystem.CurrentDirectory();
    if (folder.empty() || folder.back() != '\\') {
        folder += '\\';
    }
    m_services.shell.Open(folder + "Quorlet.chm");  // failures are not reported
}

// The sheet edits copies; the settings change only when it ends with OK. A new interval takes
// effect at the next arming of the check timer, "AheadTime" with the next online period.
void CMainDlg::EditOptions() {
    m_optionGeneral.CopyIn(m_settings);
    m_optionMail.CopyIn(m_settings);
    m_optionFees.CopyIn(m_settings);
    CPsh sheet;
    sheet.AddPage(m_optionGeneral);
    sheet.AddPage(m_optionMail);
    sheet.AddPage(m_optionFees);
    if (sheet.DoModal(m_hWnd) != IDOK) {
        return;
    }
    m_optionGeneral.CopyOut(m_settings);
    m_optionMail.CopyOut(m_settings);
    m_optionFees.CopyOut(m_settings);
}

void CMainDlg::ShowAbout() {
    CAboutDlg about(m_services.shell, m_services.registry, m_services.prompter);
    about.DoModal(m_hWnd);
}

}  // namespace quorlet
