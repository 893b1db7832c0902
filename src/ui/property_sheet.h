// CPropertySheet and CPropertyPage: a modal sheet of pages, each page a dialog resource with a
// caption. The sheet frame is the system's own window; the framework never treats it as one of
// its dialogs. A page is left (for another page or by OK) only when its validation agrees, and
// the sheet says afterwards whether it ended with OK. The sheets have no Apply and no Help
// button: a change takes effect when the caller takes it over after OK.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/dialog.h"

namespace quorlet::ui {

class CPropertySheet;

class CPropertyPage : public CDialog {
public:
    explicit CPropertyPage(int templateId) : CDialog(templateId) {}

protected:
    // Leaving the page: true lets it go, false keeps it. The default reads the controls back.
    virtual bool OnKillActive();
    virtual void OnSetActive() {}
    // The sheet's OK and Cancel end it; a page never ends itself.
    void OnOK() override {}
    void OnCancel() override {}
    bool OnNotify(int id, NMHDR* header, LRESULT& result) override;

private:
    friend class CPropertySheet;
    static INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    CPropertySheet* m_sheet = nullptr;
};

class CPropertySheet {
public:
    explicit CPropertySheet(std::string title) : m_title(std::move(title)) {}
    CPropertySheet(const CPropertySheet&) = delete;
    CPropertySheet& operator=(const CPropertySheet&) = delete;

    // Pages show in the order they are added; the sheet does not own them.
    void AddPage(CPropertyPage& page);

    // Runs the sheet modally: IDOK when it ended with OK (every page shown agreed to be left),
    // IDCANCEL otherwise, -1 when it could not be created.
    INT_PTR DoModal(HWND parent);

private:
    friend class CPropertyPage;

    std::string m_title;
    std::vector<CPropertyPage*> m_pages;
    bool m_applied = false;  // a page was told to apply: the sheet ends with OK
};

}  // namespace quorlet::ui
