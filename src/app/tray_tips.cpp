#include "app/tray_tips.h"

#include <cstdio>

#include "base/gbk_text.h"
#include "resource.h"

namespace quorlet {
namespace {

std::string Tip(const char* state, const std::string& suffix) {
    return std::string(gbk::TruncateChars(std::string(state) + suffix, kTipMaxBytes));
}

}  // namespace

std::string OnlineTimeSuffix(std::int64_t seconds) {
    if (seconds < 0) {
        seconds = 0;  // a clock set back shows no time rather than a negative one
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, " 联网时间:%lld小时%lld分",
                  static_cast<long long>(seconds / 3600),
                  static_cast<long long>((seconds / 60) % 60));
    return buffer;
}

void TrayTips::SetOnlineSuffix(const std::string& suffix, bool busy) {
    if (busy) {
        m_busy = Tip(kTipBusy, suffix);
    } else {
        m_auto = Tip(kTipAuto, suffix);
        m_manual = Tip(kTipManual, suffix);
    }
}

void TrayTips::ClearSuffix() {
    m_auto = kTipAuto;
    m_manual = kTipManual;
    m_busy = kTipBusy;
}

int ModeTrayIcon(bool autoMode) {
    return autoMode ? IDI_TRAY_AUTO : IDI_TRAY_MANUAL;
}

}  // namespace quorlet
