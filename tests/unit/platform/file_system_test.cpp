#include "platform/file_system.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace quorlet {
namespace {

TEST(FileSystem, AtomicWriteReplacesWholeFiles) {
    testing::TempDir dir;
    const std::string path = dir.File("data.ini");
    EXPECT_EQ(ReadWholeFile(path), std::nullopt);
    const std::string bytes("a\0b\r\n\xC5\xB8", 7);
    ASSERT_TRUE(WriteFileAtomically(path, bytes));
    EXPECT_EQ(ReadWholeFile(path), bytes);
    ASSERT_TRUE(WriteFileAtomically(path, "short"));
    EXPECT_EQ(ReadWholeFile(path), "short");
    EXPECT_TRUE(SystemFileSystem().FileExists(path));
    EXPECT_TRUE(RemoveFile(path));
    EXPECT_FALSE(SystemFileSystem().FileExists(path));
    EXPECT_FALSE(RemoveFile(path));
}

TEST(FileSystem, BackslashesSeparateFoldersOnEveryPlatform) {
    testing::TempDir dir;
    FileSystem& fs = SystemFileSystem();
    const std::string before = fs.CurrentDirectory();
    ASSERT_TRUE(fs.ChangeDirectory(dir.path().string()));
    ASSERT_TRUE(WriteFileAtomically(".\\Fare.ini", "[x]\r\n"));
    EXPECT_TRUE(fs.FileExists(dir.File("Fare.ini")));
    EXPECT_FALSE(fs.FileExists(dir.path().string()));  // a folder is not a file
    ASSERT_TRUE(fs.ChangeDirectory(before));
}

}  // namespace
}  // namespace quorlet
