#include "app/tray_tips.h"

#include "base/gbk_text.h"
#include "resource.h"

namespace quorlet {
namespace {

std::string Tip(const char* state, const std::string& suffix) {
    return std::string(gbk::TruncateChars(std::string(state) + suffix, kTipMaxBytes));
}

}  // namespace

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
