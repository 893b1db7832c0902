#include "ui/menu.h"

#include "platform/win32/wide_text.h"

namespace quorlet::ui {
namespace {

MenuHook& Hook() {
    static MenuHook hook;
    return hook;
}

UINT StateOf(const MenuItem& item) {
    return (item.checked ? MFS_CHECKED : MFS_UNCHECKED) | (item.grayed ? MFS_GRAYED : MFS_ENABLED) |
           (item.isDefault ? MFS_DEFAULT : 0u);
}

}  // namespace

void AppendMenuItem(HMENU menu, const MenuItem& item) {
    if (item.id == 0) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        return;
    }
    std::wstring text = win32::ToWide(item.text);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
    info.fType = MFT_STRING;
    info.wID = item.id;
    info.dwTypeData = text.data();
    info.fState = StateOf(item);
    InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
}

void ModifyMenuItem(HMENU menu, const MenuItem& item) {
    std::wstring text = win32::ToWide(item.text);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_STATE;
    info.dwTypeData = text.data();
    // Keep the default mark the item may have.
    const UINT current = GetMenuState(menu, item.id, MF_BYCOMMAND);
    info.fState = StateOf(item) | (current != static_cast<UINT>(-1) ? (current & MFS_DEFAULT) : 0u);
    SetMenuItemInfoW(menu, item.id, FALSE, &info);
}

std::vector<MenuItem> ReadMenu(HMENU menu) {
    std::vector<MenuItem> items;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
        info.dwTypeData = text;
        info.cch = 255;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        MenuItem item;
        if ((info.fType & MFT_SEPARATOR) == 0) {
            item.id = info.wID;
            item.text = win32::FromWide(text);
            item.checked = (info.fState & MFS_CHECKED) != 0;
            item.grayed = (info.fState & MFS_GRAYED) != 0;
            item.isDefault = (info.fState & MFS_DEFAULT) != 0;
        }
        items.push_back(item);
    }
    return items;
}

void TrackMenu(HMENU menu, POINT screenPoint, HWND owner) {
    if (Hook() && !Hook()(menu, owner)) {
        return;
    }
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_LEFTBUTTON, screenPoint.x, screenPoint.y, 0, owner,
                   nullptr);
}

void SetMenuHook(MenuHook hook) {
    Hook() = std::move(hook);
}

}  // namespace quorlet::ui
