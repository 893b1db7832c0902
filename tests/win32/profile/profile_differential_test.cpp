// Compares the program's profile-file code with the system's own GetPrivateProfileStringW and
// WritePrivateProfileStringW (Wine's kernel32 here) on a corpus of ASCII files and calls: every
// read must give the same text, and a file written by either side must read the same.
#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "base/profile_file.h"
#include "platform/file_system.h"
#include "platform/profile_files.h"
#include "platform/win32/wide_text.h"
#include "support/temp_dir.h"

namespace quorlet {
namespace {

const std::string kMissing = "\x10";

std::string SystemRead(const std::string& path, const std::string& section, const std::string& key,
                       std::size_t size) {
    std::wstring buffer(size + 1, L'\0');
    const DWORD n = GetPrivateProfileStringW(
        win32::ToWide(section).c_str(), win32::ToWide(key).c_str(), win32::ToWide(kMissing).c_str(),
        buffer.data(), static_cast<DWORD>(size), win32::ToWide(path).c_str());
    buffer.resize(n);
    return win32::FromWide(buffer);
}

void SystemWrite(const std::string& path, const std::string& section, const std::string* key,
                 const std::string* value) {
    const std::wstring wideKey = key ? win32::ToWide(*key) : L"";
    const std::wstring wideValue = value ? win32::ToWide(*value) : L"";
    WritePrivateProfileStringW(win32::ToWide(section).c_str(), key ? wideKey.c_str() : nullptr,
                               value ? wideValue.c_str() : nullptr, win32::ToWide(path).c_str());
}

const std::vector<std::string> kSections = {"Main", "MAIN", " main ", "Email", "Sub Ject",
                                            "x",    "A",    "Fee",    "0"};
const std::vector<std::string> kKeys = {"Total", "total", "Key", "KEY", "0",
                                        "1",     "Start", "a b", ";c"};
const std::vector<std::size_t> kSizes = {1, 3, 10, 255};

const std::vector<std::string> kLines = {"[Main]",
                                         "[main]",
                                         "  [Main]  ",
                                         "[Email]",
                                         "[Sub Ject]",
                                         "[Fee]",
                                         "[0]",
                                         "[A]",
                                         "Total=3",
                                         " total = 4 ",
                                         "Key",
                                         "Key=",
                                         "Key=value",
                                         "KEY=upper",
                                         "Key=a=b",
                                         "0=abc",
                                         "1=",
                                         "1=  spaced  ",
                                         ";c=1",
                                         "\tKey\t=\tv",
                                         "Start=2026-12-07 10:00:00",
                                         "a b=with space",
                                         "",
                                         "   ",
                                         "Total=123456789012",
                                         "0=\"quoted value\"",
                                         "0='single'",
                                         "1=\"open",
                                         "Start=x\ty"};

std::string RandomFile(std::mt19937& random) {
    std::string text;
    const int lines = 1 + static_cast<int>(random() % 12);
    for (int i = 0; i < lines; ++i) {
        text += kLines[random() % kLines.size()];
        text += random() % 3 == 0 ? "\n" : "\r\n";
    }
    return text;
}

class ProfileDifferential : public ::testing::Test {
protected:
    testing::TempDir dir;
    int m_files = 0;

    // A new file name for every case, so that no cached copy of an older file can answer.
    std::string NewFile(const std::string& content) {
        const std::string path = dir.File("case" + std::to_string(m_files++) + ".ini");
        EXPECT_TRUE(WriteFileAtomically(path, content));
        return path;
    }

    // Every query against the system and against the program's reader of the same file.
    void ExpectSameReads(const std::string& systemPath, const std::string& ownPath,
                         const std::string& context) {
        const ProfileFile own = LoadProfileFile(ownPath);
        for (const std::string& section : kSections) {
            for (const std::string& key : kKeys) {
                for (std::size_t size : kSizes) {
                    ASSERT_EQ(own.GetString(section, key, kMissing, size),
                              SystemRead(systemPath, section, key, size))
                        << context << "\n[" << section << "] " << key << " size " << size
                        << "\nfile:\n"
                        << *ReadWholeFile(ownPath);
                }
            }
        }
    }
};

TEST_F(ProfileDifferential, ReadsAgreeOnTheCorpus) {
    std::mt19937 random(20261207);
    for (int i = 0; i < 80; ++i) {
        const std::string path = NewFile(RandomFile(random));
        ExpectSameReads(path, path, "read case " + std::to_string(i));
    }
}

TEST_F(ProfileDifferential, MissingFileGivesTheDefault) {
    const std::string path = dir.File("absent.ini");
    EXPECT_EQ(ReadProfileValue(path, "Main", "Total", kMissing, 10),
              SystemRead(path, "Main", "Total", 10));
    EXPECT_EQ(ReadProfileValue(path, "Main", "Total", kMissing, 10), kMissing);
}

TEST_F(ProfileDifferential, WrittenFilesReadTheSame) {
    std::mt19937 random(7);
    const std::vector<std::string> values = {"1",   "abc", "  lead",
                                             "x=y", "",    "2026-12-07 10:00:00"};
    for (int i = 0; i < 50; ++i) {
        const std::string start = random() % 4 == 0 ? std::string() : RandomFile(random);
        const std::string systemPath = NewFile(start);
        const std::string ownPath = NewFile(start);
        std::string steps;
        for (int step = 0; step < 6; ++step) {
            std::string section = kSections[random() % kSections.size()];
            const std::string& key = kKeys[random() % kKeys.size()];
            const std::string& value = values[random() % values.size()];
            const unsigned operation = random() % 5;
            // Wine finds " main " when reading and writing but not when deleting; the program
            // always passes bare names, and treats them the same way everywhere.
            if (operation < 2 && section == " main ") {
                section = "main";
            }
            switch (operation) {
                case 0:  // remove the key
                    SystemWrite(systemPath, section, &key, nullptr);
                    WriteProfileValue(ownPath, section, key, std::nullopt);
                    steps += "delete [" + section + "] " + key + "\n";
                    break;
                case 1:  // remove the section
                    SystemWrite(systemPath, section, nullptr, nullptr);
                    DeleteProfileSection(ownPath, section);
                    steps += "delete [" + section + "]\n";
                    break;
                default:
                    SystemWrite(systemPath, section, &key, &value);
                    WriteProfileValue(ownPath, section, key, value);
                    steps += "set [" + section + "] " + key + " = " + value + "\n";
                    break;
            }
        }
        // The program's file must mean to the system what the system's own file means, and
        // the program must read it the same way too.
        ExpectSameReads(systemPath, ownPath, "write case " + std::to_string(i) + "\n" + steps);
        ExpectSameReads(ownPath, ownPath,
                        "own file, write case " + std::to_string(i) + "\n" + steps);
    }
}

}  // namespace
}  // namespace quorlet
