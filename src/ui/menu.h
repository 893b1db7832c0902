// Pop-up menus: building one from entries, reading one back, and tracking it, with a test hook
// that can look at the menu instead of showing it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace quorlet::ui {

struct MenuItem {
    UINT id = 0;  // 0 is a separator
    std::string text;
    bool checked = false;
    bool grayed = false;
    bool isDefault = false;
};

void AppendMenuItem(HMENU menu, const MenuItem& item);
// Changes the text, mark and graying of the item with the command id.
void ModifyMenuItem(HMENU menu, const MenuItem& item);
// The items of a menu as it stands.
std::vector<MenuItem> ReadMenu(HMENU menu);

// Tracks the menu at the screen point, owned by owner (left-button tracking); the chosen
// command reaches the owner as WM_COMMAND.
void TrackMenu(HMENU menu, POINT screenPoint, HWND owner);

// Test hook: called instead of tracking; it may send a command to the owner itself. Returning
// true tracks the menu after all (to see it on the screen).
using MenuHook = std::function<bool(HMENU menu, HWND owner)>;
void SetMenuHook(MenuHook hook);

}  // namespace quorlet::ui
