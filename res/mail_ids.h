// Control identifiers of the mail watch's windows: the account dialogs, the filter dialogs and the
// preview. The numbers are fixed; the same number may name another control in another window
// (each window's own names are grouped under it).
#pragma once

// "确定" and "取消" of the three account dialogs (IDD_NEW_ACCOUNT, IDD_MODIFY_ACCOUNT,
// IDD_RENAME_ACCOUNT), drawn as icon buttons
#define IDC_ACCOUNT_OK 1006
#define IDC_ACCOUNT_CANCEL 1007

// "新增" (IDD_NEW_ACCOUNT)
#define IDC_NEW_ACCOUNT_NAME 1002      // "账户名:"
#define IDC_NEW_ACCOUNT_SERVER 1003    // "POP3服务器:"
#define IDC_NEW_ACCOUNT_USER 1004      // "用户名:"
#define IDC_NEW_ACCOUNT_PASSWORD 1005  // "密码:" (password style)
#define IDC_NEW_ACCOUNT_SECURITY 1010  // "安全连接:" ("无", "SSL/TLS", "STLS")

// "修改" (IDD_MODIFY_ACCOUNT)
#define IDC_MODIFY_ACCOUNT_NAMES 1001     // the account names
#define IDC_MODIFY_ACCOUNT_SERVER 1002    // "POP3服务器"
#define IDC_MODIFY_ACCOUNT_USER 1003      // "用户名"
#define IDC_MODIFY_ACCOUNT_PASSWORD 1004  // "密码"
#define IDC_MODIFY_ACCOUNT_DELETE 1009    // "删除"
#define IDC_MODIFY_ACCOUNT_SECURITY 1010  // "安全连接" ("无", "SSL/TLS", "STLS")
#define IDC_MODIFY_ACCOUNT_MASK 1012      // the untitled check box: the password shows as "*"

// "更改账户名" (IDD_RENAME_ACCOUNT)
#define IDC_RENAME_ACCOUNT_NAME 1003

// What the filter dialogs share: the two lists (IDD_ADDRESS_FILTER, IDD_SUBJECT_FILTER), the
// entry dialog (IDD_ENTRY) and the size limit (IDD_LENGTH_FILTER)
#define IDC_FILTER_ENTRIES 1001  // the list of entries
#define IDC_FILTER_DELETE 1009   // "删除(&d)"
#define IDC_FILTER_DISABLE 1012  // "禁止"
#define IDC_FILTER_ADD 1052      // "增加(&a)"
#define IDC_FILTER_OK 1054       // "确定"
#define IDC_FILTER_CANCEL 1055   // "取消"

// "设置需要过滤的主题" (IDD_SUBJECT_FILTER)
#define IDC_SUBJECT_FILTER_WHOLE_MATCH 1023  // "完全匹配"
#define IDC_SUBJECT_FILTER_MATCH_CASE 1027   // "区分大小写"

// "增加/修改" (IDD_ENTRY)
#define IDC_ENTRY_TEXT 1002  // "请输入"

// "邮件长度" (IDD_LENGTH_FILTER)
#define IDC_LENGTH_FILTER_LIMIT 1002  // the size limit in KB
#define IDC_LENGTH_FILTER_SPIN 1070   // the limit's up-down control

// The mail preview (IDD_PREVIEW)
#define IDC_PREVIEW_MESSAGES 1001       // the message list
#define IDC_PREVIEW_DELETE 1009         // "删除(&d)"
#define IDC_PREVIEW_SELECT_ALL 1045     // "全选(&a)"
#define IDC_PREVIEW_SELECT_NONE 1046    // "取消(&c)"
#define IDC_PREVIEW_STOP 1047           // "中止(&s)"
#define IDC_PREVIEW_INVERT 1073         // "反选(&r)"
#define IDC_PREVIEW_FRAME 1075          // the frame around the message list
#define IDC_PREVIEW_EXIT 1079           // "退出(&e)"
#define IDC_PREVIEW_MAILBOX 1099        // the mailbox chooser
#define IDC_PREVIEW_ADD_ADDRESSES 1101  // "加入(&j)": the senders go to the address filter
#define IDC_PREVIEW_MAILBOX_LABEL 1102  // "选择信箱："
