// Control identifiers of the compose window. The numbers are fixed; the same number may name
// another control in another window.
#pragma once

// "邮件发送" (IDD_SEND)
#define IDC_SEND_RECIPIENTS 1002   // the recipients, separated by ";"
#define IDC_SEND_SUBJECT 1003      // the subject
#define IDC_SEND_BODY 1004         // the body
#define IDC_SEND_CLOSE_AFTER 1012  // the check box: close the window after sending
#define IDC_SEND_MAIL 1077         // "发送"
#define IDC_SEND_LEAVE 1079        // "离开"
#define IDC_SEND_FRAME 1081        // the frame around the fields
#define IDC_SEND_CLOSE_LABEL 1082  // "发送完自动关闭窗口", the check box's text
