// The filters: their matching rules, their two files and the rules of their dialogs.
#include "mail/filters.h"

#include <gtest/gtest.h>

#include "platform/charsets.h"

#include "base/profile_file.h"
#include "platform/file_system.h"
#include "support/temp_dir.h"

namespace quorlet {
namespace {

using testing::TempDir;

MailRecord Mail(std::string from, std::string subject, std::int64_t size = 100) {
    MailRecord r;
    r.m_strFrom = std::move(from);
    r.m_strSubject = std::move(subject);
    r.m_nSize = size;
    return r;
}

std::string Marks(std::vector<MailRecord> records, const FilterSet& filters, bool* any = nullptr) {
    const bool hit = ApplyFilters(records, filters, SystemCharsets());
    if (any != nullptr) {
        *any = hit;
    }
    std::string marks;
    for (const MailRecord& r : records) {
        marks += std::to_string(r.m_nStatus);
    }
    return marks;
}

TEST(Filters, AnAddressEntryHitsTheRawSenderAnywhereWithItsCase) {
    const std::vector<std::string> entries = {"abc"};
    EXPECT_TRUE(AddressHits(" abc@x.org", entries));
    EXPECT_TRUE(AddressHits(" Joe <joe.abc@x.org>", entries));
    EXPECT_TRUE(AddressHits(" x@y.abc", entries));
    EXPECT_FALSE(AddressHits(" ABC@x.org", entries));
    EXPECT_FALSE(AddressHits(" a@x.org", {}));
    // An empty entry (only a hand-edited file holds one) is in every text.
    EXPECT_TRUE(AddressHits(" a@x.org", {"zzz", ""}));
    // The sender is matched raw: an encoded name is not decoded first.
    EXPECT_FALSE(AddressHits(" =?gb2312?B?1cXI/Q==?= <z@x>", {"张三"}));
}

TEST(Filters, SubjectWholeAndPartMatchWithAndWithoutCase) {
    const std::vector<std::string> hello = {"hello"};
    // The display text keeps the blank after the header's colon; the match does not see it.
    EXPECT_TRUE(SubjectHits(" Hello", hello, true, false));
    EXPECT_TRUE(SubjectHits(" HELLO", hello, true, false));
    EXPECT_FALSE(SubjectHits(" Hello world", hello, true, false));
    EXPECT_FALSE(SubjectHits(" Hello", hello, true, true));
    EXPECT_TRUE(SubjectHits(" hello", hello, true, true));

    EXPECT_TRUE(SubjectHits(" Hello world", hello, false, false));
    EXPECT_TRUE(SubjectHits(" Hello", {"hello world"}, false, false));
    EXPECT_FALSE(SubjectHits(" Hello world", hello, false, true));
    EXPECT_FALSE(SubjectHits(" Goodbye", hello, false, false));
    // Only a to z change case: the trail byte of "發" (B0 6C) is not the letter l.
    EXPECT_FALSE(SubjectHits(" 發", {"L"}, false, false));
    EXPECT_TRUE(SubjectHits(" 發票", {"發"}, false, false));
    // A subject of blanks is no subject, and no entry contains or is contained in it.
    EXPECT_FALSE(SubjectHits("   ", hello, false, false));
}

TEST(Filters, SizeLimitInKilobytes) {
    EXPECT_FALSE(SizeHits(102400, "100"));
    EXPECT_TRUE(SizeHits(102401, "100"));
    EXPECT_FALSE(SizeHits(5000000, ""));   // never set: the size test is off
    EXPECT_FALSE(SizeHits(5000000, "0"));  // outside 1 to 9999: off
    EXPECT_FALSE(SizeHits(5000000, "10000"));
    EXPECT_TRUE(SizeHits(9999LL * 1024 + 1, "9999"));
    EXPECT_FALSE(SizeHits(-1, "1"));  // no size from LIST
}

TEST(Filters, ApplyMarksWhatAnyEnabledTestHitsAndNeverClears) {
    FilterSet f;
    f.lists.addresses = {"spam@"};
    f.lists.subjects = {"你好"};
    f.switches.mailLength = "1";
    const std::vector<MailRecord> records = {
        Mail(" spam@x", " hi"),    Mail(" a@x", " =?gb2312?B?xOO6ww==?="),  // "你好" once decoded
        Mail(" a@x", " hi", 2000), Mail(" a@x", " hi"),
        Mail(" a@x", ""),
    };
    bool any = false;
    EXPECT_EQ(Marks(records, f, &any), "11100");
    EXPECT_TRUE(any);

    f.switches.addressDisable = true;
    f.switches.subjectDisable = true;
    f.switches.lengthDisable = true;
    EXPECT_EQ(Marks(records, f, &any), "00000");
    EXPECT_FALSE(any);

    std::vector<MailRecord> marked = {Mail(" a@x", " hi")};
    marked[0].m_nStatus = kMailMarked;
    EXPECT_EQ(Marks(marked, f, &any), "1");
    EXPECT_TRUE(any);
}

class FilterFilesTest : public ::testing::Test {
protected:
    FilterFiles Files() const { return {dir.File("Address.ini"), dir.File("Subject.ini")}; }
    void Write(const std::string& name, const std::string& text) {
        ASSERT_TRUE(WriteFileAtomically(dir.File(name), text));
    }
    std::string Read(const std::string& name) { return ReadWholeFile(dir.File(name)).value_or(""); }
    TempDir dir;
};

TEST_F(FilterFilesTest, LoadingKeepsAListWithoutTotalAndFillsMissingEntries) {
    Write("Address.ini", "[Main]\r\nTotal=3\r\n[Email]\r\n0=a@x\r\n2=c@x\r\n");
    FilterLists lists;
    lists.subjects = {"kept"};
    LoadFilterLists(Files(), lists);
    EXPECT_EQ(lists.addresses, (std::vector<std::string>{"a@x", "\x10", "c@x"}));
    EXPECT_EQ(lists.subjects, std::vector<std::string>{"kept"}) << "no Subject.ini";

    std::string big = "[Main]\r\nTotal=600\r\n[Subject]\r\n";
    for (int i = 0; i < 600; ++i) {
        big += std::to_string(i) + "=s" + std::to_string(i) + "\r\n";
    }
    Write("Subject.ini", big);
    LoadFilterLists(Files(), lists);
    ASSERT_EQ(lists.subjects.size(), kMaxFilterEntries);
    EXPECT_EQ(lists.subjects.back(), "s511");
}

TEST_F(FilterFilesTest, SavingAShorterListRemovesTheKeysItNoLongerHolds) {
    FilterLists lists;
    lists.addresses = {"a0", "a1", "a2", "a3", "a4", "a5"};
    lists.subjects = {"主题"};
    SaveFilterLists(Files(), lists);
    EXPECT_EQ(Read("Subject.ini"), "[Main]\r\nTotal=1\r\n[Subject]\r\n0=主题\r\n");

    FilterListEditor editor(lists.addresses);
    for (int i = 0; i < 3; ++i) {
        editor.Remove(3);
    }
    lists.addresses = editor.Entries();
    SaveEditedAddressList(Files(), lists, 6);
    EXPECT_EQ(Read("Address.ini"), "[Main]\r\nTotal=3\r\n[Email]\r\n0=a0\r\n1=a1\r\n2=a2\r\n");

    FilterLists loaded;
    LoadFilterLists(Files(), loaded);
    EXPECT_EQ(loaded.addresses, lists.addresses);
    EXPECT_EQ(loaded.subjects, lists.subjects);
}

TEST(FilterDialogs, EntriesLimitsAndSelectionAfterRemoval) {
    EXPECT_EQ(EntryProblem(""), kEnterData);
    EXPECT_EQ(EntryProblem("x"), std::nullopt);
    EXPECT_EQ(LengthProblem(""), kLengthRange);
    EXPECT_EQ(LengthProblem("0"), kLengthRange);
    EXPECT_EQ(LengthProblem("1"), std::nullopt);
    EXPECT_EQ(LengthProblem("9999"), std::nullopt);

    FilterListEditor editor({"a", "b", "c"});
    editor.Replace(1, "B");
    EXPECT_EQ(editor.Remove(1), 1u);  // "c" moves up and is selected
    EXPECT_EQ(editor.Remove(1), 0u);  // the last one went: the new last is selected
    EXPECT_EQ(editor.Remove(0), std::nullopt);
    EXPECT_EQ(editor.Remove(0), std::nullopt);

    for (std::size_t i = 0; i < kMaxFilterEntries; ++i) {
        ASSERT_TRUE(editor.CanAdd());
        editor.Add("same");  // duplicates are not refused
    }
    EXPECT_FALSE(editor.CanAdd());
    editor.Add("one too many");
    EXPECT_EQ(editor.Entries().size(), kMaxFilterEntries);
}

}  // namespace
}  // namespace quorlet
