// The preview's rows without a window: ticking and the selection buttons in every row state,
// which records a mailbox shows, the texts of a row, and what "加入(&j)" writes.
#include "mail/preview_rows.h"

#include <gtest/gtest.h>

#include "base/profile_file.h"
#include "platform/file_system.h"
#include "platform/profile_files.h"
#include "support/temp_dir.h"

namespace quorlet {
namespace {

MailRecord Record(const std::string& account, const std::string& from, int status = 0) {
    MailRecord r;
    r.m_strAccount = account;
    r.m_strServer = account + ".example";
    r.m_strUser = "u";
    r.m_strFrom = from;
    r.m_nStatus = status;
    return r;
}

TEST(PreviewRows, ClicksAndSelectionButtonsChangeOnlyRowsNotSettled) {
    struct Case {
        int state;
        int click, all, none, invert;
        bool chosen;
    };
    const Case cases[] = {
        {kRowUnticked, kRowTicked, kRowTicked, kRowUnticked, kRowTicked, false},
        {kRowTicked, kRowUnticked, kRowTicked, kRowUnticked, kRowUnticked, true},
        // A filter's mark whose deletion could not log in still counts as chosen.
        {kMailNoLogin, kRowTicked, kRowTicked, kRowUnticked, kRowTicked, true},
        {kMailDeleted, kMailDeleted, kMailDeleted, kMailDeleted, kMailDeleted, false},
        {kMailLeft, kMailLeft, kMailLeft, kMailLeft, kMailLeft, false},
        {kMailRefused, kMailRefused, kMailRefused, kMailRefused, kMailRefused, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        EXPECT_EQ(ClickedRow(c.state), c.click);
        EXPECT_EQ(SelectedRow(c.state, Selection::All), c.all);
        EXPECT_EQ(SelectedRow(c.state, Selection::None), c.none);
        EXPECT_EQ(SelectedRow(c.state, Selection::Invert), c.invert);
        EXPECT_EQ(IsChosenRow(c.state), c.chosen);
    }
}

TEST(PreviewRows, OneMailboxShowsOnlyItsRowsAndClearsTheTicksOfTheOthers) {
    const std::vector<MailRecord> records = {Record("甲", "a"), Record("甲", "b", kMailMarked),
                                             Record("乙", "c"), Record("乙", "d", kMailDeleted)};
    std::vector<int> states;
    EXPECT_EQ(ChooseRows(records, kAllMailboxes, states), (std::vector<std::size_t>{0, 1, 2, 3}));
    EXPECT_EQ(states, (std::vector<int>{0, kRowTicked, 0, kMailDeleted})) << "statuses taken over";
    EXPECT_TRUE(HasChosenRows(states, {0, 1, 2, 3}));

    states = {kRowTicked, kRowTicked, kRowTicked, kMailDeleted};
    EXPECT_EQ(ChooseRows(records, "乙", states), (std::vector<std::size_t>{2, 3}));
    EXPECT_EQ(states, (std::vector<int>{0, 0, 0, kMailDeleted}));
    EXPECT_FALSE(HasChosenRows(states, {2, 3}));

    EXPECT_TRUE(ChooseRows(records, "丙", states).empty());
    EXPECT_EQ(states.size(), records.size());
}

TEST(PreviewRows, ARowShowsDecodedFieldsTheRewrittenDateTheSizeAndItsStatus) {
    MailRecord r = Record("信箱", " =?gb2312?B?1cXI/Q==?= <z@x.cn>");
    r.m_strSubject = " =?utf-8?Q?=E4=BD=A0=E5=A5=BD?=";
    r.m_strDate = " Mon, 06 May 2002 10:20:30 +0800";
    r.m_nSize = 1234;
    const PreviewColumnTexts texts = RowTexts(r, kMailRefused, SystemCharsets());
    EXPECT_EQ(texts[0], "信箱");
    EXPECT_EQ(texts[1], " 张三 <z@x.cn>");
    EXPECT_EQ(texts[2], " 你好");
    EXPECT_EQ(texts[3], "2002-5-06 10:20:30");
    EXPECT_EQ(texts[4], "1234");
    EXPECT_EQ(texts[5], "删除失败");

    r.m_strDate = "yesterday";
    r.m_nSize = -1;  // LIST had no entry for it
    const PreviewColumnTexts raw = RowTexts(r, kRowTicked, SystemCharsets());
    EXPECT_EQ(raw[3], "yesterday");
    EXPECT_EQ(raw[4], "-1");
    EXPECT_EQ(raw[5], "");

    const std::pair<int, const char*> statuses[] = {{kMailDeleted, "已删除"},
                                                    {kMailLeft, "正常"},
                                                    {kMailNoLogin, "连接失败"},
                                                    {kRowUnticked, ""}};
    for (auto [state, text] : statuses) {
        EXPECT_EQ(RowStatusText(state), text);
    }
    EXPECT_EQ(PreviewTitle(5, 2), "邮件预览(信件数:5 已删除信件:2)");
}

TEST(PreviewRows, AddingSendersSkipsKnownOnesAndAppendsTheRestAfterTheTotal) {
    const std::vector<MailRecord> records = {
        Record("a", " known@x"),    Record("a", " new@x"),
        Record("a", " new@x"),      Record("a", ""),  // no sender: nothing to add
        Record("a", " unticked@x"), Record("b", " other@x")};
    const std::vector<int> states = {kRowTicked, kRowTicked, kRowTicked, kRowTicked, 0, kRowTicked};
    const SenderAddition addition =
        SendersToAdd(records, {0, 1, 2, 3, 4}, states, {"x", "known@x"});
    EXPECT_EQ(addition.duplicates, std::vector<std::string>{" known@x"});
    // The copy is not updated in between: both rows of the new sender go in.
    EXPECT_EQ(addition.added, (std::vector<std::string>{" new@x", " new@x"}));

    testing::TempDir dir;
    const std::string file = dir.File("Address.ini");
    ASSERT_TRUE(WriteFileAtomically(file, "[Main]\r\nTotal=2\r\n[Email]\r\n0=x\r\n1=y\r\n"));
    ASSERT_TRUE(AppendAddresses(file, addition.added));
    const ProfileFile written = LoadProfileFile(file);
    EXPECT_EQ(written.GetString("Main", "Total", "", 10), "4");
    EXPECT_EQ(written.GetString("Email", "1", "", 256), "y");
    EXPECT_EQ(written.GetString("Email", "2", "", 256), "new@x");
    EXPECT_EQ(written.GetString("Email", "3", "", 256), "new@x");

    const std::string fresh = dir.File("New.ini");  // no file yet: the keys start at 0
    ASSERT_TRUE(AppendAddresses(fresh, {"a@b"}));
    EXPECT_EQ(LoadProfileFile(fresh).GetString("Email", "0", "", 256), "a@b");
    EXPECT_EQ(LoadProfileFile(fresh).GetString("Main", "Total", "", 10), "1");
}

}  // namespace
}  // namespace quorlet
