#include "dialup/gui/log_dlg.h"

#include <commctrl.h>

#include "dialup/online_log.h"
#include "dialup/online_recorder.h"
#include "dialup_ids.h"
#include "resource.h"
#include "ui/controls.h"

namespace quorlet {

namespace {

struct Column {
    const char* title;
    int width;
};
constexpr Column kColumns[] = {
    {"上网时间", 130}, {"离线时间", 130}, {"联网时间", 80}, {"费用", 60}, {"连接名", 90}};

void SetDate(HWND picker, const CalendarDate& date) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(date.year);
    time.wMonth = static_cast<WORD>(date.month);
    time.wDay = static_cast<WORD>(date.day);
    SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

CalendarDate GetDate(HWND picker) {
    SYSTEMTIME time{};
    SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    return {time.wYear, time.wMonth, time.wDay};
}

}  // namespace

CLogDlg::CLogDlg(Prompter& prompter, const Clock& clock)
    : CDialog(IDD_ONLINE_LOG, IDC_ONLINE_LOG_EXIT), m_prompter(prompter), m_clock(clock) {}

BOOL CLogDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const ui::CListCtrl periods(GetDlgItem(IDC_ONLINE_LOG_PERIODS));
    periods.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT,
                        LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    int index = 0;
    for (const Column& column : kColumns) {
        // The list view keeps its first column left-aligned whatever it is asked.
        periods.InsertColumn(index++, column.title, LVCFMT_RIGHT, column.width);
    }
    EnableDlgItem(IDC_ONLINE_LOG_DELETE, false);
    const LogRange range = DefaultLogRange(m_clock.Now(), m_nSettlementDay);
    SetDate(GetDlgItem(IDC_ONLINE_LOG_FROM), range.from);
    SetDate(GetDlgItem(IDC_ONLINE_LOG_TO), range.to);
    return TRUE;
}

bool CLogDlg::OnButtonClicked(int id) {
    if (id == IDC_ONLINE_LOG_EXTRACT) {
        Extract();
        return true;
    }
    return CDialog::OnButtonClicked(id);
}

void CLogDlg::Extract() {
    const LogExtract extract = ExtractLog(kFeeIniPath, GetDate(GetDlgItem(IDC_ONLINE_LOG_FROM)),
                                          GetDate(GetDlgItem(IDC_ONLINE_LOG_TO)));
    switch (extract.status) {
        case LogExtract::Status::InvalidRange:
            m_prompter.Error(kInvalidLogRange);
            return;
        case LogExtract::Status::NoRecordFile:
            m_prompter.Notice(kNoRecordFile);
            return;
        case LogExtract::Status::Ok:
            break;
    }
    const ui::CListCtrl periods(GetDlgItem(IDC_ONLINE_LOG_PERIODS));
    periods.DeleteAllItems();
    int row = 0;
    for (const LogRow& record : extract.rows) {
        periods.InsertItem(row, record.start, -1);
        periods.SetItemText(row, 1, record.end);
        periods.SetItemText(row, 2, record.connected);
        periods.SetItemText(row, 3, record.fee);
        periods.SetItemText(row, 4, record.name);
        ++row;
    }
    SetWindowText(extract.title);
}

}  // namespace quorlet
