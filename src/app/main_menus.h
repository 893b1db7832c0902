// The main window's menus as the state shows them: the context menu, built afresh each time, and
// the changes made to the tray menu (resource 157) before it is shown; and the hot keys.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorlet {

struct MenuEntry {
    unsigned id = 0;  // 0 is a separator
    std::string text;
    bool checked = false;
    bool grayed = false;
};

struct MenuState {
    bool autoMode = false;     // auto-check mode
    bool busy = false;         // a check or a deletion of filtered mail runs
    bool online = false;       // the program's own dial-up line is up
    bool planOn = true;        // plan enforcement
    bool composeOpen = false;  // the compose window is open
    bool listVisible = true;   // the account list is shown
};

// The context menu of the main window, in order.
std::vector<MenuEntry> ContextMenuEntries(const MenuState& state);

// The tray menu items whose text, mark or graying depends on the state; the other items keep
// their resource text.
std::vector<MenuEntry> TrayMenuChanges(const MenuState& state);

// The command a function key posts (F2..F9 and F11); nullopt for the others.
std::optional<unsigned> FunctionKeyCommand(int functionKeyNumber);

}  // namespace quorlet
