// Resource identifiers of Quorlet: dialogs, controls, commands, the tray menu, icons, bitmaps and
// strings. The numbers are fixed: stored layouts, tests and the artwork refer to them. Several
// dialogs reuse a control number for their own field; such numbers carry one name per role.
#pragma once

// Dialogs
#define IDD_MAIN 102            // the main window "鸥信通"
#define IDD_NEW_ACCOUNT 130     // "新增"
#define IDD_MODIFY_ACCOUNT 132  // "修改"
#define IDD_OPTION_MAIL 134     // options page "邮件检测"
#define IDD_ABOUT 138           // "关于"
#define IDD_RENAME_ACCOUNT 146  // "更改账户名"
#define IDD_PREVIEW 156         // mail preview
#define IDD_ADDRESS_FILTER 159  // "设置需要过滤的Email地址"
#define IDD_ENTRY 160           // "增加/修改"
#define IDD_SUBJECT_FILTER 161  // "设置需要过滤的主题"
#define IDD_PASSWORD 162        // "启动密码"
#define IDD_LENGTH_FILTER 163   // "邮件长度"
#define IDD_SEND 191            // compose window "邮件发送"
#define IDD_SPECIAL_TIME 204    // "特价时间设置"
#define IDD_ONLINE_LOG 206      // "上网记录"
#define IDD_RATE 208            // "费率设置"
#define IDD_FEE 213             // "费用设置"
#define IDD_OPTION_GENERAL 214  // options page "常规选项"
#define IDD_OPTION_FEE 215      // options page "上网费用"
#define IDD_DIAL 216            // "拨号上网"
#define IDD_PLAN_SESSION 217    // plan page "每次"
#define IDD_PLAN_TOTAL 218      // plan page "累计"

// Menu
#define IDR_TRAY_MENU 157  // the tray menu; also the tray icon's identifier

// Icons
#define IDI_APP 128            // application icon
#define IDI_TRAY_MAIL 137      // new mail, first blink phase
#define IDI_TRAY_MANUAL 140    // manual-check mode
#define IDI_TRAY_AUTO 141      // auto-check mode
#define IDI_TRAY_CHECKING 165  // check running
#define IDI_BUTTON_CANCEL 168
#define IDI_BUTTON_OK 169
#define IDI_BUTTON_OPEN 171    // choose a file
#define IDI_BUTTON_PLAY 175    // play a sound file
#define IDI_TRAY_MAIL_DIM 186  // new mail, second blink phase (16 x 16)
#define IDI_BUTTON_LEAVE 192
#define IDI_BUTTON_SEND 193

// Bitmaps
#define IDB_ABOUT 147            // About picture, 260 x 90
#define IDB_STATE_IMAGES 154     // two 16 x 16 check boxes: empty, ticked; red is the mask
#define IDB_SKIN 201             // main window skin, 385 x 227
#define IDB_LIST_BACKGROUND 202  // account list background, 343 x 104, tiled
#define IDB_SMALL_IMAGES 210     // 16 x 16: 0 aborted, 1 connecting, 2 idle, 3 reading

// Strings
#define IDS_SOCKET_INIT_FAILED 103
#define IDS_RAS_STATE_FIRST 1200  // 1200..1223: the dial-up progress texts, in state order
#define IDS_RAS_STATE_LAST 1223

#ifndef IDC_STATIC
#define IDC_STATIC -1
#endif

// Controls of the main window (102)
#define IDC_ADD_ACCOUNT 1000
#define IDC_ACCOUNT_LIST 1001
#define IDC_MODIFY_ACCOUNTS 1008
#define IDC_OPTIONS 1013
#define IDC_MODE 1014
#define IDC_PREVIEW 1025
#define IDC_STOP_CHECK 1047
#define IDC_CHECK 1049
#define IDC_COMPOSE 1077
#define IDC_HIDE 1083
#define IDC_CLOSE 1084
#define IDC_MENU 1085

// Controls shared by the other dialogs (the role named is the first of several)
#define IDC_LIST 1001         // list boxes and list views
#define IDC_EDIT_1002 1002    // first edit field (password, entry text, account name, ...)
#define IDC_EDIT_1003 1003    // second edit field (interval, POP3 server, subject, ...)
#define IDC_EDIT_1004 1004    // third edit field (sound file, user name, body, ...)
#define IDC_EDIT_1005 1005    // fourth edit field (SMTP server, password, ...)
#define IDC_ICON_OK 1006      // icon button "确定" (accounts)
#define IDC_ICON_CANCEL 1007  // icon button "取消" (accounts)
#define IDC_EDIT_1008 1008    // "AheadTime" edit, holiday Internet percentage
#define IDC_DELETE 1009       // "删除" / holiday telephone percentage edit 1009
#define IDC_CHECK_1012 1012   // check boxes: "禁止", auto-load, password mask, weekend, ...
#define IDC_SPIN_1022 1022    // interval spin, end-hour spin
#define IDC_CHECK_1023 1023  // "当检测到邮件时播放音乐", "完全匹配", "拨号后自动检测邮箱"
#define IDC_CHOOSE_FILE 1024  // icon button: choose a sound file
#define IDC_PLAY_FILE 1025    // icon button: play the sound file
#define IDC_CHECK_1027 1027   // "程序运行后自动隐藏窗口", "区分大小写"
#define IDC_AUTO_START 1033   // "程序运行后自动进入检测状态"
#define IDC_BACK 1034         // "返回"
#define IDC_MAIL_LINK 1037    // About: mail link
#define IDC_WEB_LINK 1044     // About: web link
#define IDC_SELECT_ALL 1045   // "全选(&a)"
#define IDC_SELECT_NONE 1046  // "取消(&c)"
#define IDC_STOP 1047         // "中止(&s)" of the preview
#define IDC_ADD_ENTRY 1052    // "增加(&a)"
#define IDC_OK 1054           // "确定" of the small dialogs
#define IDC_CANCEL 1055       // "取消" of the small dialogs
#define IDC_PASSWORD_ON 1058  // "启动密码"
#define IDC_RADIO_1 1064      // "列表", "挂断线路"
#define IDC_RADIO_2 1065      // "直接删除", "声音提醒"
#define IDC_HINT 1068         // "当检测到邮件时弹出主窗口"
#define IDC_SPIN_1070 1070    // length spin, settlement-day spin, begin-hour spin
#define IDC_SPIN_1071 1071    // 1071..1076: the percentage spins of the discount-time dialog
#define IDC_SPIN_1072 1072
#define IDC_SPIN_1073 1073
#define IDC_SPIN_1074 1074
#define IDC_SPIN_1075 1075
#define IDC_SPIN_1076 1076
#define IDC_INVERT 1073      // "反选(&r)"
#define IDC_LIST_FRAME 1075  // frame around the preview list
#define IDC_MAILP 1076       // "当检测到邮件时启动系统邮件程序"
#define IDC_SEND 1077        // "发送"
#define IDC_LEAVE 1079       // "离开", "退出(&e)"
#define IDC_REPLY_ADDRESS 1080
#define IDC_SEND_FRAME 1081
#define IDC_CLOSE_LABEL 1082
#define IDC_RECORD 1086
#define IDC_BUTTON_1091 1091  // "提取(&g)", "确定", "增加<<", choose file
#define IDC_BUTTON_1092 1092  // "删除(&d)", "取消", "删除", play file
#define IDC_BUTTON_1093 1093  // "退出(&q)", "确定"
#define IDC_BUTTON_1094 1094  // "取消"
#define IDC_COMBO 1099        // drop-down lists: mailbox, connection, month
#define IDC_DAY_LIST 1100
#define IDC_ADD_ADDRESSES 1101  // "加入(&j)"
#define IDC_MAILBOX_LABEL 1102
#define IDC_TIME_SETTINGS 1103
#define IDC_RATE_SETTINGS 1104
#define IDC_SAVE_SETTINGS 1105
#define IDC_CLEAR_TOTALS 1106
#define IDC_DATE_FROM 1108
#define IDC_DIAL 1109  // "拨号"; also the log's "到" date picker
#define IDC_DATE_TO 1109
#define IDC_HANG_UP 1110
#define IDC_DIAL_STATUS 1111

// Commands of the menus and hot keys
#define ID_OPEN_WINDOW 32771
#define ID_EXIT 32773
#define ID_ABOUT 32776
#define ID_IP_ADDRESSES 32777
#define ID_FILTER_ADDRESS 32778
#define ID_FILTER_SUBJECT 32779
#define ID_FILTER_LENGTH 32780
#define ID_MAIL_PROGRAM 32781
#define ID_TRAY_MAIL_PROGRAM 32782
#define ID_TOGGLE_LIST 32783
#define ID_ONLINE_LOG 32784
#define ID_FEE_SETTINGS 32785
#define ID_DIAL 32786
#define ID_ONLINE_PLAN 32787
#define ID_PLAN_ON 32788
#define ID_HELP 57670
