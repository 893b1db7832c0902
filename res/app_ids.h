// Control identifiers of the application shell's windows: the main window, the startup password,
// the three options pages and the About box. The numbers are fixed; the same number may name
// another control in another window (each window's own names are grouped under it).
#pragma once

// The main window (IDD_MAIN). Its buttons are also the commands of the same numbers: the tray
// menu uses IDC_MODE, IDC_CHECK and IDC_COMPOSE, and the end of a check posts IDC_PREVIEW.
#define IDC_ADD_ACCOUNT 1000      // "新增(&A)"
#define IDC_ACCOUNT_LIST 1001     // the account list
#define IDC_MODIFY_ACCOUNTS 1008  // "修改(&E)"
#define IDC_OPTIONS 1013          // "设置(&O)"
#define IDC_MODE 1014             // the auto/manual mode toggle
#define IDC_PREVIEW 1025          // "预览(&P)"
#define IDC_STOP_CHECK 1047       // "中止(&T)"
#define IDC_CHECK 1049            // "检测(&C)"
#define IDC_COMPOSE 1077          // "发送(&S)"
#define IDC_HIDE 1083             // "-": hide to the tray
#define IDC_CLOSE 1084            // "X"
#define IDC_MENU 1085             // "S": the context menu

// The startup password (IDD_PASSWORD)
#define IDC_PASSWORD_ENTERED 1002  // what is typed (password style)
#define IDC_PASSWORD_OK 1054       // "确定"
#define IDC_PASSWORD_CANCEL 1055   // "取消": the only way out without the password

// Options page "常规选项" (IDD_OPTION_GENERAL)
#define IDC_OPTION_GENERAL_STARTUP_PASSWORD 1002  // the startup password (password style)
#define IDC_OPTION_GENERAL_AUTO_LOAD 1012         // "Windows启动后加载本程序"
#define IDC_OPTION_GENERAL_AUTO_CHECK 1023        // "拨号后自动检测邮箱"
#define IDC_OPTION_GENERAL_HIDE 1027              // "程序运行后自动隐藏窗口"
#define IDC_OPTION_GENERAL_AUTO_START 1033        // "程序运行后自动进入检测状态"
#define IDC_OPTION_GENERAL_PASSWORD_ON 1058       // "启动密码"

// Options page "邮件检测" (IDD_OPTION_MAIL)
#define IDC_OPTION_MAIL_INTERVAL 1003         // "自动检测间隔时间" (minutes)
#define IDC_OPTION_MAIL_SOUND_FILE 1004       // the new-mail sound file
#define IDC_OPTION_MAIL_SMTP_SERVER 1005      // "SMTP地址"
#define IDC_OPTION_MAIL_INTERVAL_SPIN 1022    // the interval's up-down control
#define IDC_OPTION_MAIL_SOUND 1023            // "当检测到邮件时播放音乐"
#define IDC_OPTION_MAIL_CHOOSE_SOUND 1024     // icon button: choose the sound file
#define IDC_OPTION_MAIL_PLAY_SOUND 1025       // icon button: play the sound file
#define IDC_OPTION_MAIL_LIST_FILTERED 1064    // radio "列表": filtered mail goes to the preview
#define IDC_OPTION_MAIL_DELETE_FILTERED 1065  // radio "直接删除"
#define IDC_OPTION_MAIL_HINT 1068             // "当检测到邮件时弹出主窗口"
#define IDC_OPTION_MAIL_MAIL_PROGRAM 1076     // "当检测到邮件时启动系统邮件程序"
#define IDC_OPTION_MAIL_REPLY_ADDRESS 1080    // "回信地址"
#define IDC_OPTION_MAIL_SMTP_SECURITY 1090    // "安全连接" ("无", "SSL/TLS", "STARTTLS")
#define IDC_OPTION_MAIL_SMTP_USER 1091        // "用户名": the SMTP login, optional
#define IDC_OPTION_MAIL_SMTP_PASSWORD 1092    // "密码" (password style)

// Options page "上网费用" (IDD_OPTION_FEE)
#define IDC_OPTION_FEE_DAY_CLEAR 1004       // "每月" … "日为结算日"
#define IDC_OPTION_FEE_AHEAD_TIME 1008      // "上网提前记时" … "秒"
#define IDC_OPTION_FEE_AUTO_CLEAR 1012      // "在结算日自动清除累计费用"
#define IDC_OPTION_FEE_DAY_CLEAR_SPIN 1070  // the settlement day's up-down control
#define IDC_OPTION_FEE_RECORD 1086          // "记录上网时间,计算费用(需重新运行)"

// "关于" (IDD_ABOUT)
#define IDC_ABOUT_BACK 1034       // "返回"
#define IDC_ABOUT_MAIL_LINK 1037  // the mail link
#define IDC_ABOUT_WEB_LINK 1044   // the web link
#define IDC_ABOUT_NAME 1045       // the program's name and version, filled at opening
