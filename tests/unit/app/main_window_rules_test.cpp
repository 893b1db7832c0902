// The main window's rules that need no window: check mode and interval, tray tips, menus, hot
// keys, the end of a check and the exit questions.
#include <gtest/gtest.h>

#include "app/check_end.h"
#include "app/check_mode.h"
#include "app/exit_rules.h"
#include "app/main_menus.h"
#include "app/tray_tips.h"
#include "app_ids.h"
#include "resource.h"

namespace quorlet {
namespace {

TEST(CheckMode, IntervalIsValidFromOneToHundredAsAtoiReadsIt) {
    EXPECT_EQ(ValidInterval("1"), 1);
    EXPECT_EQ(ValidInterval("100"), 100);
    EXPECT_EQ(ValidInterval(" 7x"), 7);
    EXPECT_FALSE(ValidInterval("0"));
    EXPECT_FALSE(ValidInterval("101"));
    EXPECT_FALSE(ValidInterval(""));
    EXPECT_FALSE(ValidInterval("-5"));
    EXPECT_FALSE(ValidInterval("abc"));
    EXPECT_EQ(IntervalMilliseconds(5), 300000u);
}

TEST(CheckMode, StartupEntersAutoOnlyWithAutoStartAndAValidInterval) {
    struct Case {
        bool autoStart;
        const char* interval;
        bool autoMode;
        bool message;
    };
    const Case cases[] = {
        {false, "5", false, false}, {true, "5", true, false},   {true, "", false, false},
        {true, "0", false, true},   {true, "101", false, true}, {true, "x", false, true},
        {false, "0", false, false}, {true, "100", true, false},
    };
    for (const Case& c : cases) {
        const StartMode mode = StartupMode(c.autoStart, c.interval);
        EXPECT_EQ(mode.autoMode, c.autoMode) << c.autoStart << " '" << c.interval << "'";
        EXPECT_EQ(mode.showRangeMessage, c.message) << c.autoStart << " '" << c.interval << "'";
    }
}

TEST(CheckMode, ToggleLeavesAutoAlwaysAndEntersItOnlyWithAValidInterval) {
    EXPECT_FALSE(ToggleMode(true, "").autoMode);
    EXPECT_FALSE(ToggleMode(true, "5").showMissingMessage);
    EXPECT_TRUE(ToggleMode(false, "5").autoMode);
    const ModeToggle empty = ToggleMode(false, "");
    EXPECT_FALSE(empty.autoMode);
    EXPECT_TRUE(empty.showMissingMessage);
    // Out of range: nothing at all happens.
    const ModeToggle outOfRange = ToggleMode(false, "101");
    EXPECT_FALSE(outOfRange.autoMode);
    EXPECT_FALSE(outOfRange.showMissingMessage);
}

TEST(TrayTips, SuffixGoesBehindTheBusyTextOrBehindBothModeTexts) {
    TrayTips tips;
    EXPECT_EQ(tips.ModeTip(true), "自动检测状态");
    EXPECT_EQ(tips.ModeTip(false), "手动检测状态");
    EXPECT_EQ(tips.BusyTip(), "正在检测...");

    tips.SetOnlineSuffix(" 联网时间:0小时3分", false);
    EXPECT_EQ(tips.ModeTip(true), "自动检测状态 联网时间:0小时3分");
    EXPECT_EQ(tips.ModeTip(false), "手动检测状态 联网时间:0小时3分");
    EXPECT_EQ(tips.BusyTip(), "正在检测...");

    // A later suffix replaces the earlier one instead of piling up behind it.
    tips.SetOnlineSuffix(" 联网时间:0小时4分", true);
    EXPECT_EQ(tips.BusyTip(), "正在检测... 联网时间:0小时4分");
    tips.SetOnlineSuffix(" 联网时间:1小时0分", false);
    EXPECT_EQ(tips.ModeTip(true), "自动检测状态 联网时间:1小时0分");

    tips.ClearSuffix();
    EXPECT_EQ(tips.ModeTip(true), "自动检测状态");
    EXPECT_EQ(tips.BusyTip(), "正在检测...");
    EXPECT_EQ(ModeTrayIcon(true), IDI_TRAY_AUTO);
    EXPECT_EQ(ModeTrayIcon(false), IDI_TRAY_MANUAL);
}

TEST(TrayTips, TipsStayWithinTheirBufferEvenForVeryLongConnections) {
    TrayTips tips;
    tips.SetOnlineSuffix(" 联网时间:2562047788015215小时30分 and a very long tail", false);
    EXPECT_LE(tips.ModeTip(true).size(), kTipMaxBytes);
    EXPECT_EQ(tips.ModeTip(true).rfind("自动检测状态 联网时间:", 0), 0u);
}

const MenuEntry* Find(const std::vector<MenuEntry>& entries, unsigned id) {
    for (const MenuEntry& e : entries) {
        if (e.id == id) {
            return &e;
        }
    }
    return nullptr;
}

TEST(MainMenus, ContextMenuTextsFollowListLineAndPlan) {
    MenuState state;
    auto entries = ContextMenuEntries(state);
    ASSERT_EQ(entries.size(), 17u);
    EXPECT_EQ(entries[3].id, 0u);
    EXPECT_EQ(entries[9].id, 0u);
    EXPECT_EQ(entries[13].id, 0u);
    EXPECT_EQ(entries[16].id, unsigned{ID_EXIT});
    EXPECT_EQ(Find(entries, ID_TOGGLE_LIST)->text, "隐藏列表视(F6)");
    EXPECT_EQ(Find(entries, ID_DIAL)->text, "拨号上网(F9)");
    EXPECT_TRUE(Find(entries, ID_PLAN_ON)->checked);

    state.listVisible = false;
    state.online = true;
    state.planOn = false;
    entries = ContextMenuEntries(state);
    EXPECT_EQ(Find(entries, ID_TOGGLE_LIST)->text, "显示列表视(F6)");
    EXPECT_EQ(Find(entries, ID_DIAL)->text, "断开线路(F9)");
    EXPECT_FALSE(Find(entries, ID_PLAN_ON)->checked);
}

TEST(MainMenus, TrayModeItemNamesTheModeTheCommandSwitchesTo) {
    MenuState state;
    state.autoMode = true;
    EXPECT_EQ(Find(TrayMenuChanges(state), IDC_MODE)->text, "手动检测(&U)");
    state.autoMode = false;
    EXPECT_EQ(Find(TrayMenuChanges(state), IDC_MODE)->text, "自动检测(&U)");
}

TEST(MainMenus, TrayItemsGrayAndMarkWithTheState) {
    MenuState state;
    auto changes = TrayMenuChanges(state);
    EXPECT_FALSE(Find(changes, IDC_CHECK)->grayed);
    EXPECT_FALSE(Find(changes, IDC_COMPOSE)->grayed);
    EXPECT_EQ(Find(changes, ID_DIAL)->text, "拨号上网(&D)");
    EXPECT_TRUE(Find(changes, ID_PLAN_ON)->checked);

    state.busy = true;
    state.composeOpen = true;
    state.online = true;
    state.planOn = false;
    changes = TrayMenuChanges(state);
    EXPECT_TRUE(Find(changes, IDC_CHECK)->grayed);
    EXPECT_TRUE(Find(changes, IDC_COMPOSE)->grayed);
    EXPECT_EQ(Find(changes, ID_DIAL)->text, "断开线路(&D)");
    EXPECT_FALSE(Find(changes, ID_PLAN_ON)->checked);
    EXPECT_EQ(Find(changes, ID_PLAN_ON)->text, "执行计划(&P)");
}

TEST(MainMenus, FunctionKeysPostTheirCommandsAndF10F12DoNothing) {
    EXPECT_EQ(FunctionKeyCommand(2), unsigned{ID_FILTER_ADDRESS});
    EXPECT_EQ(FunctionKeyCommand(6), unsigned{ID_TOGGLE_LIST});
    EXPECT_EQ(FunctionKeyCommand(9), unsigned{ID_DIAL});
    EXPECT_EQ(FunctionKeyCommand(11), unsigned{ID_ONLINE_PLAN});
    EXPECT_FALSE(FunctionKeyCommand(1));
    EXPECT_FALSE(FunctionKeyCommand(10));
    EXPECT_FALSE(FunctionKeyCommand(12));
}

class CheckEnd : public ::testing::Test {
protected:
    MainSettings settings;
    CheckEndState state;
};

TEST_F(CheckEnd, NewMailWithTheWindowHiddenBlinksUnlessSomethingElseShowsIt) {
    state.newMail = true;
    state.windowVisible = false;
    CheckEndActions a = PlanCheckEnd(state, settings);
    EXPECT_TRUE(a.startBlink);
    EXPECT_FALSE(a.showModeIcon);
    EXPECT_FALSE(a.popUpWindow);

    settings.m_bHint = true;
    a = PlanCheckEnd(state, settings);
    EXPECT_FALSE(a.startBlink);
    EXPECT_TRUE(a.showModeIcon);
    EXPECT_TRUE(a.popUpWindow);

    // Filtered mail in list mode opens the preview, so the icon does not blink either.
    settings.m_bHint = false;
    settings.m_iRadio = 1;
    state.filteredMail = true;
    a = PlanCheckEnd(state, settings);
    EXPECT_FALSE(a.startBlink);
    EXPECT_TRUE(a.openPreview);
    EXPECT_FALSE(a.askDeleteFiltered);
}

TEST_F(CheckEnd, NewMailShowsTheListPlaysTheSoundAndStartsTheMailProgram) {
    state.newMail = true;
    state.listVisible = false;
    settings.m_bSound = true;
    settings.m_bMailp = true;
    CheckEndActions a = PlanCheckEnd(state, settings);
    EXPECT_TRUE(a.showList);
    EXPECT_FALSE(a.playSound);  // no file chosen
    EXPECT_TRUE(a.startMailProgram);
    EXPECT_FALSE(a.startBlink);  // the window is visible
    settings.m_strSoundFile = "C:\\mail.wav";
    EXPECT_TRUE(PlanCheckEnd(state, settings).playSound);
}

TEST_F(CheckEnd, WithoutNewMailOnlyTheModeIconAndTheTimers) {
    CheckEndActions a = PlanCheckEnd(state, settings);
    EXPECT_TRUE(a.showModeIcon);
    EXPECT_FALSE(a.startBlink || a.playSound || a.popUpWindow || a.startMailProgram);
    EXPECT_FALSE(a.rearmMinutes);  // manual mode
    state.autoMode = true;
    settings.m_strTimeInterval = "7";
    EXPECT_EQ(PlanCheckEnd(state, settings).rearmMinutes, 7);
    settings.m_strTimeInterval = "0";
    EXPECT_FALSE(PlanCheckEnd(state, settings).rearmMinutes);
}

TEST_F(CheckEnd, FilteredMailInDeleteModeIsOfferedForDeletion) {
    state.filteredMail = true;
    const CheckEndActions a = PlanCheckEnd(state, settings);
    EXPECT_TRUE(a.askDeleteFiltered);
    EXPECT_FALSE(a.openPreview);
}

TEST(ExitRules, RecordingComesFirstThenTheOwnLineThenThePlainQuestion) {
    EXPECT_STREQ(ChooseExitQuestion(true, true).text,
                 "正在记录上网时间,提前退出将使记录不准确,真的要退出 ?");
    EXPECT_STREQ(ChooseExitQuestion(false, true).title, "提示");
    EXPECT_STREQ(ChooseExitQuestion(false, true).text, "当前已在线,退出将断开线路,真的要退出 ?");
    const ExitQuestion plain = ChooseExitQuestion(false, false);
    EXPECT_STREQ(plain.text, "你真的要退出 ?");
    EXPECT_STREQ(plain.title, "询问");
    EXPECT_EQ(plain.icon, MessageIcon::Question);
}

}  // namespace
}  // namespace quorlet
