// The filter dialogs: the sender-address list "设置需要过滤的Email地址", the subject list
// "设置需要过滤的主题", the entry dialog "增加/修改" they share, and the size limit "邮件长度".
// The main window keeps one of each for the program's life; their members carry the lists and
// switches while they run.
#pragma once

#include <string>
#include <vector>

#include "mail/filters.h"
#include "mail/gui/checked_dialog.h"
#include "platform/prompter.h"
#include "ui/byte_limited_edit.h"
#include "ui/controls.h"
#include "ui/dialog.h"

namespace quorlet {

// "增加/修改" (dialog 160): one entry, which may not be empty.
class CEntryDlg : public CCheckedDialog {
public:
    explicit CEntryDlg(Prompter& prompter);

    std::string m_strText;

protected:
    void DoDataExchange(ui::CDataExchange& dx) override;
    std::optional<std::string> Problem() const override;

private:
    ui::CByteLimitedEdit m_textEdit;
};

// What the two list dialogs share: the list box, "增加(&a)", "删除(&d)", double-click to change
// an entry, and the check box "禁止".
class CFilterListDlg : public ui::CDialog {
public:
    CFilterListDlg(int templateId, Prompter& prompter);

    std::vector<std::string> m_entries;  // the list while the dialog runs
    bool m_bDisable = false;             // "禁止"

protected:
    BOOL OnInitDialog() override;
    bool OnButtonClicked(int id) override;
    bool OnCommand(int id, int code) override;
    void DoDataExchange(ui::CDataExchange& dx) override;

private:
    ui::CListBox Entries() const;
    void OnAdd();
    void OnChange();
    void OnDelete();

    Prompter& m_prompter;
    CEntryDlg m_entryDlg;
};

// "设置需要过滤的Email地址" (dialog 159).
class CAddressDlg : public CFilterListDlg {
public:
    explicit CAddressDlg(Prompter& prompter);
};

// "设置需要过滤的主题" (dialog 161), with "完全匹配" and "区分大小写".
class CSubjectDlg : public CFilterListDlg {
public:
    explicit CSubjectDlg(Prompter& prompter);

    bool m_bWholeMatch = false;  // "完全匹配"
    bool m_bMatchCase = false;   // "区分大小写"

protected:
    void DoDataExchange(ui::CDataExchange& dx) override;
};

// "邮件长度" (dialog 163): the size limit in KB (1 to 9999) and "禁止".
class CLengthDlg : public CCheckedDialog {
public:
    explicit CLengthDlg(Prompter& prompter);

    bool m_bDisable = false;
    std::string m_strLength;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(ui::CDataExchange& dx) override;
    std::optional<std::string> Problem() const override;
};

}  // namespace quorlet
