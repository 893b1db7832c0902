// CLinkLabel: a static text of a dialog that opens a web or mail link when clicked. It is drawn
// underlined in the link colour, turns to the hover colour under the mouse and to the visited
// colour after a successful open, shows a hand cursor and a tooltip with its URL, and resizes
// itself to its text. A link that opens neither through the shell nor through the browser's own
// command gives a beep and a message.
#pragma once

#include <windows.h>

#include <string>

#include "platform/prompter.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "ui/subclass_wnd.h"

namespace quorlet::ui {

class CLinkLabel : public CSubclassWnd {
public:
    CLinkLabel(Shell& shell, Registry& registry, Prompter& prompter);
    ~CLinkLabel() override;

    // Takes over the static control `id` of the dialog. An empty URL takes the label's text; an
    // empty text shows the URL.
    bool Attach(HWND dialog, int id);

    void SetURL(const std::string& url);
    const std::string& GetURL() const { return m_strURL; }
    void SetVisited(bool visited);
    bool GetVisited() const { return m_bVisited; }
    void SetUnderline(bool underline);
    void SetAutoSize(bool adjust) { m_bAdjustToText = adjust; }
    bool IsHovered() const { return m_bOverControl; }
    COLORREF CurrentTextColour() const;

    // Opens the URL: the shell's or the fallback's code (above 32 on success).
    int GotoURL(const std::string& url);
    // The beep and the message for a code GotoURL returned.
    void ReportError(int code);
    // What a click does.
    void OnClicked();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnHooked() override;

private:
    // The parent dialog asks for the label's colours; this hook on the parent answers for it.
    class ParentHook final : public CSubclassWnd {
    public:
        explicit ParentHook(CLinkLabel& label) : m_label(label) {}

    protected:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        CLinkLabel& m_label;
    };

    void MakeFont();
    void FitToText();
    void LoadHandCursor();
    void MakeTooltip();
    void UpdateTooltip();
    void ReleaseResources();

    Shell& m_shell;
    Registry& m_registry;
    Prompter& m_prompter;

    COLORREF m_crLinkColour = RGB(0, 0, 238);
    COLORREF m_crVisitedColour = RGB(85, 26, 139);
    COLORREF m_crHoverColour = GetSysColor(COLOR_HIGHLIGHT);
    bool m_bOverControl = false;
    bool m_bVisited = false;
    bool m_bUnderline = true;
    bool m_bAdjustToText = true;
    std::string m_strURL;
    HFONT m_font = nullptr;
    HCURSOR m_hLinkCursor = nullptr;
    bool m_ownsCursor = false;  // a copy of the help viewer's cursor, not a shared system one
    HWND m_toolTip = nullptr;
    ParentHook m_parentHook{*this};
};

}  // namespace quorlet::ui
