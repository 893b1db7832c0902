// The preview's rows without a window: which records the list shows for the chosen mailbox, the
// texts of a row, the tick state of each row and what a click or the three selection buttons do
// to it, and the window's title.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "mail/mail_table.h"
#include "platform/charsets.h"

namespace quorlet {

// The chooser's first entry: every mailbox.
inline constexpr const char* kAllMailboxes = "所有信箱";

// Row states besides the record statuses a row takes over ('D', 'R', 'F', 'E').
inline constexpr int kRowUnticked = 0;
inline constexpr int kRowTicked = 1;

// The list's columns, left to right.
inline constexpr std::size_t kPreviewColumns = 6;
using PreviewColumnTexts = std::array<std::string, kPreviewColumns>;

// A row settled by a deletion ('D', 'R', 'F'): no click or selection button changes it.
bool IsSettledRow(int state);
// A row chosen for a deletion: ticked, or marked by a filter whose deletion could not log in
// ('E'); both show a ticked box. A settled row is never chosen again until the next check.
bool IsChosenRow(int state);
// Whether some of the given rows (record indexes into states) is chosen.
bool HasChosenRows(const std::vector<int>& states, const std::vector<std::size_t>& rows);

// The state after a click on the row.
int ClickedRow(int state);

enum class Selection { All, None, Invert };  // "全选(&a)", "取消(&c)", "反选(&r)"
int SelectedRow(int state, Selection selection);

// The status column's text for a row state ("" for a plain or ticked row).
std::string RowStatusText(int state);

// The six texts of a record's row: account, sender and subject decoded, the date rewritten
// when it can be, the size in octets, the status text of its row state.
PreviewColumnTexts RowTexts(const MailRecord& record, int state, const Charsets& charsets);

// FillList's choice: the records shown for the chooser's entry (every record for
// kAllMailboxes, otherwise those of the account of that name), in table order. `states` is
// resized to the table; each shown record's row state becomes its status, and a ticked row that
// is no longer shown loses its tick.
std::vector<std::size_t> ChooseRows(const std::vector<MailRecord>& records,
                                    std::string_view mailbox, std::vector<int>& states);

// "邮件预览(信件数:%d 已删除信件:%d)".
std::string PreviewTitle(std::size_t messages, int deleted);
inline constexpr const char* kPreviewDeletingTitle = "邮件预览[正在删除...]";
inline constexpr const char* kPreviewStoppingTitle = "邮件预览[中止删除...]";

// The preview's messages.
inline constexpr const char* kChooseMailToDelete = "请选择需要删除的邮件 !";
inline constexpr const char* kConfirmDelete = "你确定要删除这些邮件 ?";
inline constexpr const char* kDeletionThreadError = "程序出现错误,请重新运行 !";
inline constexpr const char* kChooseMailToAdd = "请选定需要将地址加入列表的邮件 !";
inline constexpr const char* kConfirmAdd = "是否将这些邮件的地址加入列表 ?";
inline constexpr const char* kDefinedTwiceTitle = "重复定义";

// "加入(&j)": the raw senders of the ticked rows, in row order, split into those already in the
// address list (each shown as "重复定义"; blanks around either text do not count) and those to
// append to it. Two ticked rows with the
// same new sender both go in, as the list copy is not updated in between.
struct SenderAddition {
    std::vector<std::string> duplicates;
    std::vector<std::string> added;
};
SenderAddition SendersToAdd(const std::vector<MailRecord>& records,
                            const std::vector<std::size_t>& shown, const std::vector<int>& states,
                            const std::vector<std::string>& addressList);

// Appends entries to the address file as "加入(&j)" does: each one under the key of the current
// "Total" of section "Main" (at most 4 digits; 0 when absent), then "Total" one higher. False
// when the file could not be written.
bool AppendAddresses(const std::string& addressFile, const std::vector<std::string>& entries);

}  // namespace quorlet
