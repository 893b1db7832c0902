// The checks the pages of the options sheet make when they are left, as plain functions.
#pragma once

#include <string_view>

namespace quorlet {

inline constexpr const char* kNeedStartupPassword = "请输入启动密码 !";
inline constexpr const char* kBadInterval = "间隔时间应在1到100分钟之内 !";
inline constexpr const char* kNeedSoundFile = "请选择一个音乐文件 !";
inline constexpr const char* kBadSettlementDay = "输入的日期无效";

// General page: the startup password box is ticked but the password is empty.
bool StartupPasswordMissing(bool passwordOn, std::string_view password);

// Mail page. Both faults can be reported in one attempt; the page is left only without either.
struct MailPageCheck {
    bool badInterval = false;       // not 1..100: kBadInterval, the field emptied and focused
    bool soundFileMissing = false;  // sound on without a file: kNeedSoundFile, the box cleared
    bool Leave() const { return !badInterval && !soundFileMissing; }
};
MailPageCheck CheckMailPage(std::string_view interval, bool soundOn, std::string_view soundFile);

// Fees page: the settlement day is 1..30 (kBadSettlementDay otherwise).
bool ValidSettlementDay(std::string_view day);

}  // namespace quorlet
