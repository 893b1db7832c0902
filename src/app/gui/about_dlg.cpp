#include "app/gui/about_dlg.h"

#include "app_ids.h"
#include "quorlet_version.h"
#include "resource.h"
#include "ui/data_exchange.h"

namespace quorlet {

CAboutDlg::CAboutDlg(Shell& shell, Registry& registry, Prompter& prompter)
    : CDialog(IDD_ABOUT, IDC_ABOUT_BACK),
      m_mailLink(shell, registry, prompter),
      m_webLink(shell, registry, prompter) {}

void CAboutDlg::DoDataExchange(ui::CDataExchange& dx) {
    ui::DDX_Control(dx, IDC_ABOUT_BACK, m_backButton);
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_ABOUT_NAME,
                   QUORLET_CHINESE_NAME " (" QUORLET_PRODUCT_NAME ") " QUORLET_VERSION);
    m_mailLink.SetURL(QUORLET_CONTACT);
    m_mailLink.Attach(m_hWnd, IDC_ABOUT_MAIL_LINK);
    m_mailLink.SetUnderline(false);
    m_webLink.SetURL(QUORLET_HOME_PAGE);
    m_webLink.Attach(m_hWnd, IDC_ABOUT_WEB_LINK);
    m_webLink.SetUnderline(false);
    Fade(AW_BLEND);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE | RDW_ALLCHILDREN);
    return TRUE;
}

void CAboutDlg::Fade(DWORD flags) {
    AnimateWindow(m_hWnd, kAboutFadeMs, flags);
}

void CAboutDlg::FadeOutAndEnd(INT_PTR result) {
    Fade(AW_BLEND | AW_HIDE);
    EndDialog(result);
}

bool CAboutDlg::OnButtonClicked(int id) {
    if (id == IDC_ABOUT_BACK || id == IDOK) {
        FadeOutAndEnd(IDOK);
        return true;
    }
    return CDialog::OnButtonClicked(id);
}

void CAboutDlg::OnCancel() {
    FadeOutAndEnd(IDCANCEL);
}

}  // namespace quorlet
