// The byte limit of an edit: set text is cut at a character boundary, typing and replacing
// stop at the limit, and what fits goes in.
#include <gtest/gtest.h>

#include "gui_support.h"
#include "ui/byte_limited_edit.h"
#include "ui/dialog.h"

namespace quorlet {
namespace {

constexpr int kEditId = 4243;

TEST(ByteLimitedEdit, HoldsAtMostItsBytesWhateverTheCharacters) {
    testing::RunInDialog([&](ui::CDialog& d) {
        const HWND edit =
            CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 4, 4, 200, 20,
                            d, reinterpret_cast<HMENU>(kEditId), nullptr, nullptr);
        ui::CByteLimitedEdit limited;
        ASSERT_TRUE(limited.Attach(d, kEditId, 9));

        // Set by the program: cut before the character that would not fit whole.
        ui::SetText(edit, "密码ab口令");  // 10 bytes: the last character does not fit
        EXPECT_EQ(ui::GetText(edit), "密码ab口");

        // A character goes in while it fits whole; at the limit typing is refused.
        SendMessageW(edit, EM_SETSEL, 7, 7);
        SendMessageW(edit, WM_CHAR, L'x', 0);  // 9 bytes
        EXPECT_EQ(ui::GetText(edit), "密码ab口x");
        SendMessageW(edit, WM_CHAR, L'y', 0);  // would be 10
        EXPECT_EQ(ui::GetText(edit), "密码ab口x");
        ui::SetText(edit, "密码ab");  // 6 bytes
        SendMessageW(edit, EM_SETSEL, 4, 4);
        SendMessageW(edit, WM_CHAR, L'口', 0);  // 8 bytes
        EXPECT_EQ(ui::GetText(edit), "密码ab口");
        SendMessageW(edit, WM_CHAR, L'令', 0);  // would be 10: a double-byte character half fits
        EXPECT_EQ(ui::GetText(edit), "密码ab口");
        SendMessageW(edit, WM_CHAR, L'z', 0);  // 9
        EXPECT_EQ(ui::GetText(edit), "密码ab口z");

        // A replacement that would go over leaves the text and the selection as they were.
        SendMessageW(edit, EM_SETSEL, 0, 2);
        SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"很长的文字"));
        EXPECT_EQ(ui::GetText(edit), "密码ab口z");
        DWORD start = 0, end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, 2u);
        // One that fits goes in.
        SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"新"));
        EXPECT_EQ(ui::GetText(edit), "新ab口z");
    });
}

}  // namespace
}  // namespace quorlet
