// The tray icon's tips: one text per state (auto mode, manual mode, check running), each able to
// carry the online-time suffix while a connection is being recorded, and the icon of each mode.
#pragma once

#include <cstdint>
#include <string>

namespace quorlet {

inline constexpr const char* kTipAuto = "自动检测状态";
inline constexpr const char* kTipManual = "手动检测状态";
inline constexpr const char* kTipBusy = "正在检测...";

// A tip text holds at most this many bytes.
inline constexpr std::size_t kTipMaxBytes = 49;

class TrayTips {
public:
    // The tip of the idle state of a mode, and of a running check.
    const std::string& ModeTip(bool autoMode) const { return autoMode ? m_auto : m_manual; }
    const std::string& BusyTip() const { return m_busy; }

    // Puts the online-time suffix (" 联网时间:H小时M分") behind the busy text while a check runs,
    // otherwise behind both mode texts.
    void SetOnlineSuffix(const std::string& suffix, bool busy);

    // Every tip back to its bare state text (the line went down).
    void ClearSuffix();

private:
    std::string m_auto = kTipAuto;
    std::string m_manual = kTipManual;
    std::string m_busy = kTipBusy;
};

// The tray icon resource of a mode's idle state.
int ModeTrayIcon(bool autoMode);

}  // namespace quorlet
