// The texts the dial-up window shows for the progress the remote-access service reports and for
// a failed dial.
#pragma once

#include <string>

#include "platform/remote_access.h"

namespace quorlet {

inline constexpr const char* kNotConnected = "未连接";
inline constexpr const char* kUnknownRasError = "未知的远程访问错误,";
inline constexpr const char* kNoDialUpEntries = "你必须先建立拨号网络连接!";
inline constexpr const char* kDialFailedTitle = "拨号失败";
inline constexpr const char* kHangUpQuestion = "确定断开线路 ?";  // the dial command, line up

// The status text of a RASCONNSTATE value; unknown states read "已经连接到设备".
std::string DialStateText(unsigned state);

// The service's text for code (or kUnknownRasError when it has none) followed directly by
// "错误代码为：<code>.".
std::string DialErrorText(RemoteAccess& remoteAccess, unsigned code);

}  // namespace quorlet
