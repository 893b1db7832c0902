// The main window's options and information: the options sheet, the About box, the help file and
// the IP addresses of this computer.
#include <cstdio>

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

// The options sheet and the About box are not built yet: their commands do nothing until they
// are.

void CMainDlg::EditOptions() {}  // the options sheet "设置" (214, 134, 215)
void CMainDlg::ShowAbout() {}    // the About box (138)

}  // namespace quorlet
