#include "dialup/dial_texts.h"

#include <cstdio>
#include <optional>

namespace quorlet {

std::string DialStateText(unsigned state) {
    switch (state) {
        case 0:
            return "正在打开端口";
        case 1:
            return "端口已经打开";
        case 2:
            return "连接设备";
        case 3:
            return "已经连接到设备";
        case 4:
            return "已经连接到所有设备";
        case 5:
        case 6:
            return "验证用户名和口令";
        case 7:
            return "重新验证用户名和口令";
        case 8:
            return "需要指定回拨号码";
        case 9:
            return "需要更改用户口令";
        case 10:
            return "开始传输信息包";
        case 11:
            return "计算连接速度";
        case 12:
            return "验证已被认可";
        case 13:
            return "重新验证用户名和口令";
        case 14:
            return "已通过验证";
        case 15:
            return "准备回拨";
        case 16:
            return "等待调制解调器复位";
        case 17:
            return "等待回拨";
        case 0x1000:
            return "交互式的";
        case 0x1001:
            return "重新验证用户名和口令";
        case 0x1002:
            return "呼叫者需要应答";
        case 0x1003:
            return "口令过期";
        case 0x2000:
            return "已经连接";
        case 0x2001:
            return "断开连接";
        default:
            return "已经连接到设备";
    }
}

std::string DialErrorText(RemoteAccess& remoteAccess, unsigned code) {
    const std::optional<std::string> text = remoteAccess.ErrorString(code);
    char number[48];
    std::snprintf(number, sizeof number, "错误代码为：%ld.", static_cast<long>(code));
    return (text ? *text : std::string(kUnknownRasError)) + number;
}

}  // namespace quorlet
