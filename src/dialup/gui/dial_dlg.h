// CDialDlg: the dial-up window "拨号上网" (dialog 216). Modeless, one at a time: it dials a
// phone-book entry with the credentials of ".\Dial.ini", shows the progress the remote-access
// service reports, redials after the redial time, and tells the main window ("Quorlet comm")
// when the program's own line is up. The main window keeps the object for the program's life.
#pragma once

#include <windows.h>

#include <string>

#include "dialup/dial_progress.h"
#include "dialup/dial_settings.h"
#include "dialup/dial_state.h"
#include "platform/prompter.h"
#include "platform/remote_access.h"
#include "ui/dialog.h"

namespace quorlet {

inline constexpr const char* kDisconnectingTitle = "正在断开...";

class CDialDlg : public ui::CDialog {
public:
    CDialDlg(RemoteAccess& remoteAccess, Prompter& prompter, DialState& dialState);
    // A window destroyed with the object tells no one; the process-wide state must not keep it.
    ~CDialDlg() override;

    // Opens the window over parent (which hears "Quorlet comm"), unless one is open already.
    void Open(HWND parent);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}  // Enter presses the default button, "拨号"
    void OnCancel() override;
    bool OnButtonClicked(int id) override;
    bool OnCommand(int id, int code) override;
    void OnTimer(UINT_PTR id) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnDestroy() override;

private:
    std::string Entry() const;
    DialSettings TakeControls() const;
    void LoadSelected();
    void SaveSelected();
    void Dial();
    void Redial();
    void HangUp();
    void HangUpHandle();
    void OnReport(WPARAM packed, unsigned error);
    void OnClose();
    void EnableIdleControls(bool idle);
    void ResetControls();
    void SetStatus(const std::string& text);

    RemoteAccess& m_remoteAccess;
    Prompter& m_prompter;
    DialState& m_state;
    HWND m_hParent = nullptr;
    DialProgress m_progress;
    bool m_bShowingFailure = false;  // the failure message is up: redial ticks wait for it
};

}  // namespace quorlet
