#include "platform/profile_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_system.h"
#include "support/temp_dir.h"

namespace quorlet {
namespace {

const std::string kMissing = "\x10";

TEST(ProfileFiles, WriteCreatesTheFileAndRemovesKeysWithNoValue) {
    testing::TempDir dir;
    const std::string path = dir.File("Address.ini");
    EXPECT_EQ(ReadProfileValue(path, "Main", "Total", kMissing, 10), kMissing);
    ASSERT_TRUE(WriteProfileValue(path, "Main", "Total", "2"));
    ASSERT_TRUE(WriteProfileValue(path, "Email", "0", "spam@example.com"));
    ASSERT_TRUE(WriteProfileValue(path, "Email", "1", "广告"));
    EXPECT_EQ(ReadProfileValue(path, "Email", "1", kMissing, 255), "广告");
    ASSERT_TRUE(WriteProfileValue(path, "Email", "1", std::nullopt));
    EXPECT_EQ(ReadProfileValue(path, "Email", "1", kMissing, 255), kMissing);
    EXPECT_EQ(*ReadWholeFile(path), "[Main]\r\nTotal=2\r\n[Email]\r\n0=spam@example.com\r\n");
    // Removing a key of a missing file does not create the file.
    const std::string other = dir.File("Subject.ini");
    ASSERT_TRUE(WriteProfileValue(other, "Subject", "0", std::nullopt));
    EXPECT_FALSE(std::filesystem::exists(other));
}

TEST(ProfileFiles, WritesLeaveNoTemporaryFilesBehind) {
    testing::TempDir dir;
    const std::string path = dir.File("Fee.ini");
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(WriteProfileValue(path, std::to_string(i), "Name", "拨号连接"));
    }
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        ++files;
    }
    EXPECT_EQ(files, 1);
    EXPECT_EQ(LoadProfileFile(path).GetString("19", "Name", kMissing, 255), "拨号连接");
}

TEST(ProfileFiles, AFileThatCannotBeWrittenReportsFailure) {
    testing::TempDir dir;
    const std::string path = dir.File("missing-folder/Fare.ini");
    EXPECT_FALSE(WriteProfileValue(path, "S", "k", "v"));
}

}  // namespace
}  // namespace quorlet
