#include "app/main_menus.h"

#include "app_ids.h"
#include "resource.h"

namespace quorlet {

std::vector<MenuEntry> ContextMenuEntries(const MenuState& state) {
    return {
        {ID_MAIL_PROGRAM, "邮件程序(F5)"},
        {ID_TOGGLE_LIST, state.listVisible ? "隐藏列表视(F6)" : "显示列表视(F6)"},
        {ID_IP_ADDRESSES, "IP地址(&I)"},
        {},
        {ID_ONLINE_LOG, "上网记录(F7)"},
        {ID_FEE_SETTINGS, "费用设置(F8)"},
        {ID_DIAL, state.online ? "断开线路(F9)" : "拨号上网(F9)"},
        {ID_ONLINE_PLAN, "上网计划(F11)"},
        {ID_PLAN_ON, "执行计划(&P)", state.planOn},
        {},
        {ID_FILTER_ADDRESS, "相关地址(F2)"},
        {ID_FILTER_SUBJECT, "相关主题(F3)"},
        {ID_FILTER_LENGTH, "邮件长度(F4)"},
        {},
        {ID_HELP, "帮助文件(F1)"},
        {ID_ABOUT, "关于鸥信(&A)"},
        {ID_EXIT, "退出鸥信(Esc)"},
    };
}

std::vector<MenuEntry> TrayMenuChanges(const MenuState& state) {
    return {
        {IDC_MODE, state.autoMode ? "手动检测(&U)" : "自动检测(&U)"},
        {IDC_CHECK, "立刻检测(&C)", false, state.busy},
        {ID_DIAL, state.online ? "断开线路(&D)" : "拨号上网(&D)"},
        {ID_PLAN_ON, "执行计划(&P)", state.planOn},
        {IDC_COMPOSE, "发送邮件(&S)", false, state.composeOpen},
    };
}

std::optional<unsigned> FunctionKeyCommand(int functionKeyNumber) {
    switch (functionKeyNumber) {
        case 2:
            return ID_FILTER_ADDRESS;
        case 3:
            return ID_FILTER_SUBJECT;
        case 4:
            return ID_FILTER_LENGTH;
        case 5:
            return ID_MAIL_PROGRAM;
        case 6:
            return ID_TOGGLE_LIST;
        case 7:
            return ID_ONLINE_LOG;
        case 8:
            return ID_FEE_SETTINGS;
        case 9:
            return ID_DIAL;
        case 11:
            return ID_ONLINE_PLAN;
        default:
            return std::nullopt;
    }
}

}  // namespace quorlet
