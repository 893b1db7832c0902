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

// A file about to be rewritten from what was read may be written afresh only when there was
// none: a folder standing at the path exists but cannot be read as a file.
TEST(ProfileFiles, AMissingFileIsToldFromOneThatCannotBeRead) {
    testing::TempDir dir;
    const FileContent missing = ReadFileContent(dir.File("none.ini"));
    EXPECT_FALSE(missing.data.has_value());
    EXPECT_TRUE(missing.missing);
    ASSERT_TRUE(LoadProfileFileForUpdate(dir.File("none.ini")).has_value());

    std::filesystem::create_directory(dir.File("folder.ini"));
    const FileContent folder = ReadFileContent(dir.File("folder.ini"));
    EXPECT_FALSE(folder.data.has_value());
    EXPECT_FALSE(folder.missing);
    EXPECT_FALSE(LoadProfileFileForUpdate(dir.File("folder.ini")).has_value());

    ASSERT_TRUE(WriteFileAtomically(dir.File("a.ini"), "[S]\r\nk=v\r\n"));
    const auto file = LoadProfileFileForUpdate(dir.File("a.ini"));
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(file->GetString("S", "k", kMissing, 10), "v");
}

#ifndef _WIN32
// A link to a folder cannot be read, but renaming a new file over it would succeed.
TEST(ProfileFiles, AFileThatCannotBeReadIsNeverWrittenAfresh) {
    testing::TempDir dir;
    std::filesystem::create_directory(dir.File("elsewhere"));
    const std::string path = dir.File("Fare.ini");
    std::filesystem::create_directory_symlink(dir.File("elsewhere"), path);
    EXPECT_FALSE(WriteProfileValue(path, "S", "k", "v"));
    EXPECT_FALSE(DeleteProfileSection(path, "S"));
    EXPECT_TRUE(std::filesystem::is_symlink(path));
}
#endif

}  // namespace
}  // namespace quorlet
