#include "ui/property_sheet.h"

#include <commctrl.h>

#include "platform/win32/wide_text.h"
#include "ui/window.h"

namespace quorlet::ui {

bool CPropertyPage::OnKillActive() {
    return UpdateData(true);
}

bool CPropertyPage::OnNotify(int, NMHDR* header, LRESULT& result) {
    switch (header->code) {
        case PSN_KILLACTIVE:
            // The sheet reads the answer from DWLP_MSGRESULT: TRUE keeps the page.
            result = OnKillActive() ? FALSE : TRUE;
            return true;
        case PSN_SETACTIVE:
            OnSetActive();
            result = 0;
            return true;
        case PSN_APPLY:
            if (m_sheet != nullptr) {
                m_sheet->m_applied = true;
            }
            result = PSNRET_NOERROR;
            return true;
        default:
            return false;
    }
}

INT_PTR CALLBACK CPropertyPage::PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // A page's WM_INITDIALOG carries its PROPSHEETPAGE, which carries the page object.
    CDialog* page = message == WM_INITDIALOG
                        ? reinterpret_cast<CPropertyPage*>(
                              reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam)
                        : FromHandle(window);
    return Route(page, window, message, wParam, lParam);
}

void CPropertySheet::AddPage(CPropertyPage& page) {
    m_pages.push_back(&page);
}

INT_PTR CPropertySheet::DoModal(HWND parent) {
    std::vector<PROPSHEETPAGEW> pages(m_pages.size());
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        m_pages[i]->m_sheet = this;
        PROPSHEETPAGEW& page = pages[i];
        page.dwSize = sizeof(PROPSHEETPAGEW);
        page.dwFlags = PSP_DEFAULT;  // the caption comes from the page's resource
        page.hInstance = ResourceInstance();
        page.pszTemplate = MAKEINTRESOURCEW(m_pages[i]->TemplateId());
        page.pfnDlgProc = &CPropertyPage::PageProc;
        page.lParam = reinterpret_cast<LPARAM>(m_pages[i]);
    }
    const std::wstring title = win32::ToWide(m_title);
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(PROPSHEETHEADERW);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP;
    header.hwndParent = parent;
    header.hInstance = ResourceInstance();
    header.pszCaption = title.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.nStartPage = 0;
    header.ppsp = pages.data();
    m_applied = false;
    const INT_PTR shown = PropertySheetW(&header);
    for (CPropertyPage* page : m_pages) {
        page->m_sheet = nullptr;
    }
    if (shown < 0) {
        return -1;
    }
    return m_applied ? IDOK : IDCANCEL;
}

}  // namespace quorlet::ui
