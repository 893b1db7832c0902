// Control identifiers of the dial-up and accounting windows: the dial-up window, the online log,
// the fee settings with their rate and discount-time dialogs, and the two plan pages. The numbers
// are fixed; the same number may name another control in another window (each window's own
// names are grouped under it).
#pragma once

// "拨号上网" (IDD_DIAL)
#define IDC_DIAL_USER 1002           // the user name
#define IDC_DIAL_PASSWORD 1003       // the password (password style)
#define IDC_DIAL_REDIAL_TIME 1004    // the redial time in seconds
#define IDC_DIAL_SAVE_PASSWORD 1012  // "保存密码"
#define IDC_DIAL_CONNECTION 1099     // the phone-book entries
#define IDC_DIAL_START 1109          // "拨号"
#define IDC_DIAL_HANG_UP 1110        // "断开"
#define IDC_DIAL_STATUS 1111         // the progress text

// "上网记录" (IDD_ONLINE_LOG)
#define IDC_ONLINE_LOG_PERIODS 1001  // the periods of the log
#define IDC_ONLINE_LOG_EXTRACT 1091  // "提取(&g)"
#define IDC_ONLINE_LOG_DELETE 1092   // "删除(&d)", shown disabled
#define IDC_ONLINE_LOG_EXIT 1093     // "退出(&q)"
#define IDC_ONLINE_LOG_FROM 1108     // the date "从"
#define IDC_ONLINE_LOG_TO 1109       // the date "到"

// "费用设置" (IDD_FEE)
#define IDC_FEE_TOTAL_PHONE 1002    // "累计电话费:"
#define IDC_FEE_TOTAL_NET 1003      // "累计上网费:"
#define IDC_FEE_TOTAL 1004          // "总计:"
#define IDC_FEE_BACK 1034           // "返回"
#define IDC_FEE_CONNECTION 1099     // "选择连接:"
#define IDC_FEE_TIME_SETTINGS 1103  // "时间设置(&T)"
#define IDC_FEE_RATE_SETTINGS 1104  // "费率设置(&F)"
#define IDC_FEE_SAVE 1105           // "保存设置(&S)"
#define IDC_FEE_CLEAR 1106          // "清除(&C)": the accumulated fees

// "费率设置" (IDD_RATE)
#define IDC_RATE_PHONE_FARE 1002  // telephone fare (yuan)
#define IDC_RATE_PHONE_UNIT 1003  // telephone unit (minutes)
#define IDC_RATE_NET_FARE 1004    // Internet fare (yuan)
#define IDC_RATE_NET_UNIT 1005    // Internet unit (minutes)
#define IDC_RATE_OK 1091          // "确定"
#define IDC_RATE_CANCEL 1092      // "取消"

// "特价时间设置" (IDD_SPECIAL_TIME)
#define IDC_SPECIAL_TIME_HOLIDAYS 1001       // the holidays of the connection
#define IDC_SPECIAL_TIME_BEGIN 1002          // discount hours: "每天从" (hour)
#define IDC_SPECIAL_TIME_END 1003            // "时到" (hour)
#define IDC_SPECIAL_TIME_HOURS_NET 1004      // Internet fee percentage in those hours
#define IDC_SPECIAL_TIME_HOURS_PHONE 1005    // telephone fee percentage in those hours
#define IDC_SPECIAL_TIME_WEEKEND_NET 1006    // Internet fee percentage at weekends
#define IDC_SPECIAL_TIME_WEEKEND_PHONE 1007  // telephone fee percentage at weekends
#define IDC_SPECIAL_TIME_HOLIDAY_NET 1008    // Internet fee percentage on holidays
#define IDC_SPECIAL_TIME_HOLIDAY_PHONE 1009  // telephone fee percentage on holidays
#define IDC_SPECIAL_TIME_WEEKEND 1012        // "周六,周日全天为特价时段"
#define IDC_SPECIAL_TIME_ADD 1091            // "增加<<": the chosen month and day
#define IDC_SPECIAL_TIME_DELETE 1092         // "删除"
#define IDC_SPECIAL_TIME_OK 1093             // "确定"
#define IDC_SPECIAL_TIME_CANCEL 1094         // "取消"
#define IDC_SPECIAL_TIME_MONTH 1099          // "01月" … "12月"
#define IDC_SPECIAL_TIME_DAY 1100            // "01日" … "31日"
// The up-down controls of the hour and percentage edits above
#define IDC_SPECIAL_TIME_BEGIN_SPIN 1070
#define IDC_SPECIAL_TIME_END_SPIN 1022
#define IDC_SPECIAL_TIME_HOURS_NET_SPIN 1071
#define IDC_SPECIAL_TIME_HOURS_PHONE_SPIN 1072
#define IDC_SPECIAL_TIME_WEEKEND_NET_SPIN 1073
#define IDC_SPECIAL_TIME_WEEKEND_PHONE_SPIN 1074
#define IDC_SPECIAL_TIME_HOLIDAY_NET_SPIN 1075
#define IDC_SPECIAL_TIME_HOLIDAY_PHONE_SPIN 1076

// The plan pages "每次" and "累计" (IDD_PLAN_SESSION, IDD_PLAN_TOTAL)
#define IDC_PLAN_TIME 1002          // the time limit
#define IDC_PLAN_FEE 1003           // the fee limit
#define IDC_PLAN_SOUND_FILE 1004    // the reminder's sound file
#define IDC_PLAN_HANG_UP 1064       // radio "挂断线路"
#define IDC_PLAN_SOUND 1065         // radio "声音提醒"
#define IDC_PLAN_CHOOSE_SOUND 1091  // icon button: choose the sound file
#define IDC_PLAN_PLAY_SOUND 1092    // icon button: play the sound file
