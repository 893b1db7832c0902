// Resource identifiers of Quorlet that the whole program shares: dialogs, commands, the tray
// menu, icons, bitmaps and strings. The numbers are fixed: stored layouts, tests and the artwork
// refer to them. The controls of each subsystem's windows have role names in an id header of
// their own beside this one (app_ids.h, mail_ids.h, send_ids.h, dialup_ids.h), where several
// windows may give the same number to controls of their own.
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

// Commands of the menus and hot keys. The main window's buttons are commands of their own
// numbers as well (app_ids.h).
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
