// The version resource of the built Quorlet.exe, read the way Explorer's properties read it:
// its numbers and texts must name the project's name and version that CMake was given.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/wide_text.h"
#include "support/program_file.h"

namespace quorlet {
namespace {

using testing::ProgramPath;

std::string Utf8(const std::wstring& text) {
    return win32::FromWide(text, CP_UTF8);
}

// The version block of the program, empty when it has none.
std::vector<unsigned char> ReadVersionBlock() {
    const std::wstring path = ProgramPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) {
        return {};
    }
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) {
        return {};
    }
    return block;
}

std::wstring StringValue(std::vector<unsigned char>& block, const std::wstring& name) {
    // Simplified Chinese (0804), Unicode (04b0): the one translation the resource declares.
    const std::wstring query = L"\\StringFileInfo\\080404b0\\" + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || value == nullptr) {
        return L"<missing " + name + L">";
    }
    return std::wstring(static_cast<const wchar_t*>(value));
}

// "1.7.0" as the four 16-bit numbers of VS_FIXEDFILEINFO (the fourth is 0).
std::vector<unsigned> ExpectedNumbers() {
    std::vector<unsigned> numbers;
    unsigned current = 0;
    for (const char c : std::string(QUORLET_EXPECTED_VERSION) + ".") {
        if (c == '.') {
            numbers.push_back(current);
            current = 0;
        } else {
            current = current * 10 + static_cast<unsigned>(c - '0');
        }
    }
    numbers.resize(4, 0);
    return numbers;
}

TEST(VersionResource, NumbersAreTheProjectVersion) {
    std::vector<unsigned char> block = ReadVersionBlock();
    ASSERT_FALSE(block.empty()) << "Quorlet.exe has no version resource";
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const std::vector<unsigned> n = ExpectedNumbers();
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), n[0]);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), n[1]);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), n[2]);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionLS), n[3]);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST(VersionResource, TextsNameTheProductInChinese) {
    std::vector<unsigned char> block = ReadVersionBlock();
    ASSERT_FALSE(block.empty()) << "Quorlet.exe has no version resource";

    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translations), &length));
    ASSERT_EQ(length, sizeof(Translation));
    EXPECT_EQ(translations[0].language, 0x0804);  // Chinese (Simplified)
    EXPECT_EQ(translations[0].codePage, 1200);    // Unicode

    const std::wstring version = win32::ToWide(QUORLET_EXPECTED_VERSION);
    EXPECT_EQ(StringValue(block, L"ProductName"), win32::ToWide(QUORLET_EXPECTED_NAME));
    EXPECT_EQ(StringValue(block, L"ProductVersion"), version);
    EXPECT_EQ(StringValue(block, L"FileVersion"), version);
    EXPECT_EQ(StringValue(block, L"OriginalFilename"), L"Quorlet.exe");
    // The Chinese texts arrive as UTF-16, whatever the code page of the system.
    EXPECT_EQ(StringValue(block, L"FileDescription").rfind(L"鸥信通：", 0), 0u)
        << Utf8(StringValue(block, L"FileDescription"));
    const std::wstring copyright = StringValue(block, L"LegalCopyright");
    EXPECT_NE(copyright.find(L"The Quorlet developers"), std::wstring::npos) << Utf8(copyright);
    EXPECT_EQ(StringValue(block, L"Comments").rfind(L"https://", 0), 0u);
}

}  // namespace
}  // namespace quorlet
