// CDialog: one class for modal and modeless dialogs built from a dialog resource. A static
// dialog procedure marks the window with a property holding `this` and calls the virtual
// handlers; no exception ever
// crosses into the system. Modal dialogs run their own message loop, so that a dialog can look
// at keys before the dialog manager does (PreTranslateMessage) and so that tests can pump the
// same way.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ui/window.h"

namespace quorlet::ui {

class CDataExchange;

// Owner-drawn controls get their WM_DRAWITEM back from the dialog as this message.
inline constexpr UINT kReflectedDrawItem = WM_USER + 0x1c00 + WM_DRAWITEM;

class CDialog : public CWnd {
public:
    // okButton and cancelButton are the dialog's buttons that act as OK and Cancel. IDOK and
    // IDCANCEL always do: the dialog manager sends IDOK for Enter when no button is the default
    // one, and IDCANCEL for Esc; the close box sends IDCANCEL too.
    explicit CDialog(int templateId, int okButton = IDOK, int cancelButton = IDCANCEL)
        : m_templateId(templateId), m_okButton(okButton), m_cancelButton(cancelButton) {}
    ~CDialog() override;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog modally; the result given to EndDialog, or -1 when it could not be
    // created or the thread's message loop was told to quit.
    INT_PTR DoModal(HWND parent);
    // Creates the dialog modeless (hidden or shown as its resource says).
    bool Create(HWND parent);
    // Ends a modal dialog with result, or destroys a modeless one.
    void EndDialog(INT_PTR result);

    int TemplateId() const { return m_templateId; }
    bool IsModalRunning() const { return m_modalRunning; }

    // Moves values between the controls and the members; false when a check failed.
    bool UpdateData(bool save);

    // The dialog whose window this is, or nullptr: only windows the framework marked as its own
    // count, never another #32770 window whatever its user data holds.
    static CDialog* FromHandle(HWND window);

protected:
    virtual BOOL OnInitDialog();  // after the exchange; TRUE gives the focus to the first control
    virtual void OnOK();          // the OK buttons: exchange and end with IDOK
    virtual void OnCancel();      // the Cancel buttons, Esc and the close box: end with IDCANCEL
    // A click: BN_CLICKED from a button, or a command from a menu or an accelerator (those name no
    // control). The default runs OnOK for the OK buttons and OnCancel for the Cancel buttons.
    // True when handled.
    virtual bool OnButtonClicked(int id);
    // Every other notification a control sends through WM_COMMAND (a list box's selection change
    // or double-click, an edit's change, ...); true when handled.
    virtual bool OnCommand(int id, int code);
    virtual bool OnNotify(int id, NMHDR* header, LRESULT& result);
    virtual void OnTimer(UINT_PTR id);
    virtual bool OnDrawItem(int id, DRAWITEMSTRUCT* item);
    // Every other message; true when handled, with the message's result.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Looks at a queued message before the dialog manager; true to swallow it.
    virtual bool PreTranslateMessage(MSG& message);
    virtual void DoDataExchange(CDataExchange& dx);
    virtual void OnDestroy() {}

    // The dialog procedure's body for the dialog object found by a procedure (plain dialogs find
    // it in the WM_INITDIALOG parameter, property pages in their page structure): marks the
    // window at WM_INITDIALOG and keeps every exception inside.
    static INT_PTR Route(CDialog* dialog, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    friend bool DispatchThreadMessage(MSG& message);

    int m_templateId;
    int m_okButton;
    int m_cancelButton;
    bool m_modalRunning = false;
    bool m_ended = false;
    INT_PTR m_result = -1;
};

// The message loop's step for one message: the pre-translation of the dialog the message is for,
// then the dialog manager, then normal dispatch. Returns false for WM_QUIT.
bool DispatchThreadMessage(MSG& message);

// Test hooks. A script set for a resource id runs on the interface thread once a dialog of that
// id has initialised and its loop runs; it may press buttons, read controls and end the dialog.
using DialogScript = std::function<void(CDialog& dialog)>;
void SetDialogScript(int templateId, DialogScript script);
void ClearDialogScripts();

// Called with every command a dialog receives, before the dialog handles it.
using CommandObserver = std::function<void(HWND dialog, int id)>;
void SetCommandObserver(CommandObserver observer);

}  // namespace quorlet::ui
