#include "base/profile_file.h"

#include <gtest/gtest.h>

namespace quorlet {
namespace {

const std::string kMissing = "\x10";

TEST(ProfileFile, NamesMatchWithoutCaseAndWhiteSpace) {
    const ProfileFile file("[Main]\r\nTotal=3\r\n  [email]  \r\n 0 = abc@x.com \r\n");
    EXPECT_EQ(file.GetString("MAIN", "total", kMissing, 10), "3");
    EXPECT_EQ(file.GetString("Email", "0", kMissing, 255), "abc@x.com");
    EXPECT_EQ(file.GetString(" main ", " TOTAL ", kMissing, 10), "3");
}

TEST(ProfileFile, MissingSectionOrKeyGivesTheDefault) {
    const ProfileFile file("[Main]\nTotal=3\nNoValue\n");
    EXPECT_EQ(file.GetString("Other", "Total", kMissing, 10), kMissing);
    EXPECT_EQ(file.GetString("Main", "Count", kMissing, 10), kMissing);
    EXPECT_EQ(file.GetString("Main", "NoValue", kMissing, 10), kMissing);  // no "=" at all
    EXPECT_EQ(file.GetString("Main", "Count", "dflt   ", 10), "dflt");     // trailing blanks go
    EXPECT_EQ(ProfileFile().GetString("Main", "Total", kMissing, 10), kMissing);
}

TEST(ProfileFile, ValuesAreCutToTheBufferAndKeepTheirBytes) {
    const ProfileFile file("[Fare]\nNetFare=0.123456789012\nName=主题: 鸥信通\nEmpty=\n");
    EXPECT_EQ(file.GetString("Fare", "NetFare", kMissing, 10), "0.1234567");  // 9 bytes
    EXPECT_EQ(file.GetString("Fare", "NetFare", kMissing, 1), "");
    EXPECT_EQ(file.GetString("Fare", "NetFare", kMissing, 0), "");
    EXPECT_EQ(file.GetString("Fare", "Name", kMissing, 255), "主题: 鸥信通");
    EXPECT_EQ(file.GetString("Fare", "Name", kMissing, 4), "主");  // never half a character
    EXPECT_EQ(file.GetString("Fare", "Empty", kMissing, 10), "");
}

TEST(ProfileFile, OnePairOfEnclosingQuotesIsDropped) {
    const ProfileFile file("[S]\na=\"quoted\"\nb='single'\nc=\"unbalanced\nd=\"\ne=\"\"\n");
    EXPECT_EQ(file.GetString("S", "a", kMissing, 255), "quoted");
    EXPECT_EQ(file.GetString("S", "b", kMissing, 255), "single");
    EXPECT_EQ(file.GetString("S", "c", kMissing, 255), "\"unbalanced");
    EXPECT_EQ(file.GetString("S", "d", kMissing, 255), "\"");
    EXPECT_EQ(file.GetString("S", "e", kMissing, 255), "");
}

TEST(ProfileFile, FirstSectionAndFirstKeyWin) {
    const ProfileFile file("[A]\nk=1\nk=2\n[B]\nk=3\n[a]\nk=4\nj=5\n");
    EXPECT_EQ(file.GetString("A", "k", kMissing, 10), "1");
    // A key only in a repeated section is not seen, as with the system functions.
    EXPECT_EQ(file.GetString("A", "j", kMissing, 10), kMissing);
    EXPECT_EQ(file.GetString("B", "k", kMissing, 10), "3");
}

TEST(ProfileFile, WritingCreatesSectionAndKeyAndKeepsEverythingElse) {
    ProfileFile file("; comment\r\n[Main]\r\nTotal=1\r\n\r\n[Email]\r\n0=a\r\n");
    EXPECT_TRUE(file.SetString("Email", "1", "b"));
    EXPECT_TRUE(file.SetString("main", "TOTAL", "2"));
    EXPECT_TRUE(file.SetString("Subject", "0", "主题"));
    EXPECT_FALSE(file.SetString("Email", "0", "a"));  // unchanged value: nothing to write
    EXPECT_EQ(file.Text(),
              "; comment\r\n[Main]\r\nTotal=2\r\n\r\n[Email]\r\n0=a\r\n1=b\r\n"
              "[Subject]\r\n0=主题\r\n");
}

TEST(ProfileFile, NewKeyGoesBeforeTheBlankLinesOfItsSection) {
    ProfileFile file("[A]\nx=1\n\n[B]\ny=2");
    file.SetString("A", "z", "3");
    file.SetString("B", "w", "4");
    EXPECT_EQ(file.Text(), "[A]\nx=1\nz=3\n\n[B]\ny=2\nw=4\n");  // in the file's own line ends
}

TEST(ProfileFile, WrittenValuesLoseLeadingBlanksAndLineBreaks) {
    ProfileFile file;
    file.SetString("S", "k", "  two\r\nlines");
    EXPECT_EQ(file.GetString("S", "k", kMissing, 255), "two  lines");
    EXPECT_EQ(file.Text(), "[S]\r\nk=two  lines\r\n");
}

TEST(ProfileFile, DeletingKeysAndSections) {
    ProfileFile file("[Email]\n0=a\n1=b\n2=c\n[Main]\nTotal=3\n");
    EXPECT_TRUE(file.DeleteKey("email", "1"));
    EXPECT_FALSE(file.DeleteKey("Email", "1"));
    EXPECT_FALSE(file.DeleteKey("Nowhere", "1"));
    EXPECT_EQ(file.GetString("Email", "2", kMissing, 10), "c");
    EXPECT_TRUE(file.DeleteSection("EMAIL"));
    EXPECT_EQ(file.Text(), "[Main]\nTotal=3\n");
}

TEST(ProfileFile, SectionNamesInTheOrderTheyFirstStand) {
    ProfileFile file("[ 1 ]\nStart=a\n[Main]\nTotal=2\n[0]\n[main]\nx=1\n[\n[2");
    EXPECT_EQ(file.SectionNames(), (std::vector<std::string>{"1", "Main", "0"}));
    file.DeleteSection("1");
    file.SetString("10", "Start", "b");
    EXPECT_EQ(file.SectionNames(), (std::vector<std::string>{"Main", "0", "10"}));
}

TEST(ProfileFile, LookupsStayRightAfterChanges) {
    ProfileFile file;
    for (int i = 0; i < 2000; ++i) {
        file.SetString(std::to_string(i), "Start", "s" + std::to_string(i));
    }
    file.DeleteSection("0");
    file.SetString("1", "End", "e1");
    EXPECT_EQ(file.GetString("0", "Start", kMissing, 255), kMissing);
    EXPECT_EQ(file.GetString("1", "End", kMissing, 255), "e1");
    EXPECT_EQ(file.GetString("1999", "Start", kMissing, 255), "s1999");
}

}  // namespace
}  // namespace quorlet
