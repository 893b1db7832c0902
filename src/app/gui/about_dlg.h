// CAboutDlg: "关于", the program's picture, name and version, a mail link and a web link. It
// fades in when it opens and out before it closes ("返回", the close box, Esc).
#pragma once

#include <windows.h>

#include "platform/prompter.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "ui/dialog.h"
#include "ui/hover_button.h"
#include "ui/link_label.h"

namespace quorlet {

inline constexpr DWORD kAboutFadeMs = 200;

class CAboutDlg : public ui::CDialog {
public:
    CAboutDlg(Shell& shell, Registry& registry, Prompter& prompter);

protected:
    BOOL OnInitDialog() override;
    bool OnButtonClicked(int id) override;
    void OnCancel() override;  // the close box and Esc
    void DoDataExchange(ui::CDataExchange& dx) override;
    // Shows or hides the window with the blend animation (AnimateWindow flags).
    virtual void Fade(DWORD flags);

private:
    void FadeOutAndEnd(INT_PTR result);

    ui::CHoverButton m_backButton;
    ui::CLinkLabel m_mailLink;
    ui::CLinkLabel m_webLink;
};

}  // namespace quorlet
