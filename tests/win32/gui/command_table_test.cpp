// The main window's command table against the places commands come from: the tray menu as the
// resource holds it, the context menu, the hot keys and the window's buttons. A command without a
// row would do nothing; a second row for a command would never be reached; a row no place sends
// is left over.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/gui/main_dlg.h"
#include "app/main_menus.h"
#include "resource.h"
#include "ui/menu.h"
#include "ui/window.h"

namespace quorlet {
namespace {

std::set<int> TrayMenuCommands() {
    std::set<int> ids;
    HMENU menu = LoadMenuW(ui::ResourceInstance(), MAKEINTRESOURCEW(IDR_TRAY_MENU));
    if (menu == nullptr) {
        ADD_FAILURE() << "no tray menu";
        return ids;
    }
    for (const ui::MenuItem& item : ui::ReadMenu(GetSubMenu(menu, 0))) {
        if (item.id != 0) {
            ids.insert(static_cast<int>(item.id));
        }
    }
    DestroyMenu(menu);
    return ids;
}

std::set<int> ContextMenuCommands() {
    std::set<int> ids;
    for (bool flag : {false, true}) {
        MenuState state;
        state.listVisible = flag;
        state.online = flag;
        state.planOn = flag;
        for (const MenuEntry& entry : ContextMenuEntries(state)) {
            if (entry.id != 0) {
                ids.insert(static_cast<int>(entry.id));
            }
        }
    }
    return ids;
}

std::set<int> HotKeyCommands() {
    std::set<int> ids;
    for (int key = 1; key <= 12; ++key) {
        if (const auto command = FunctionKeyCommand(key)) {
            ids.insert(static_cast<int>(*command));
        }
    }
    return ids;
}

// The buttons of the main window's resource, read from a window made of it.
std::set<int> ButtonCommands() {
    std::set<int> ids;
    HWND dialog = CreateDialogParamW(
        ui::ResourceInstance(), MAKEINTRESOURCEW(IDD_MAIN), nullptr,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    if (dialog == nullptr) {
        ADD_FAILURE() << "the main window's resource makes no window";
        return ids;
    }
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16] = {};
        GetClassNameW(child, className, 16);
        if (lstrcmpiW(className, L"Button") == 0) {
            ids.insert(GetDlgCtrlID(child));
        }
    }
    DestroyWindow(dialog);
    return ids;
}

TEST(CommandTable, EveryCommandSentHasOneRowAndEveryRowIsSent) {
    const std::pair<const char*, std::set<int>> sources[] = {
        {"tray menu", TrayMenuCommands()},
        {"context menu", ContextMenuCommands()},
        {"hot key", HotKeyCommands()},
        {"button", ButtonCommands()},
    };
    std::map<int, int> rows;
    for (const CMainDlg::CommandRow& row : CMainDlg::Commands()) {
        ++rows[row.id];
        EXPECT_NE(row.handler, nullptr) << row.id;
    }
    const auto rowsOf = [&rows](int id) {
        const auto found = rows.find(id);
        return found == rows.end() ? 0 : found->second;
    };
    std::set<int> sent;
    for (const auto& [where, ids] : sources) {
        EXPECT_FALSE(ids.empty()) << where;
        for (int id : ids) {
            EXPECT_EQ(rowsOf(id), 1) << where << " command " << id;
            sent.insert(id);
        }
    }
    for (const auto& [id, count] : rows) {
        EXPECT_TRUE(sent.count(id) != 0)
            << "the row of command " << id << " is reached from nowhere";
    }
}

}  // namespace
}  // namespace quorlet
