#include "forms/support_request/history_dlg.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "core/support_request/request_history.h"
#include "resource.h"
#include "win/config_sources.h"

namespace tiqora {

HistoryDlg::HistoryDlg(std::wstring historyFile) : ui::CDialogSK(IDD_REQUEST_HISTORY), historyFile_(std::move(historyFile)) {}

BOOL HistoryDlg::OnInitDialog() {
    LoadSkin(IDB_SKIN_HISTORY);
    list_.AttachList(hwnd(), IDC_HISTORY_LIST);
    ListView_SetExtendedListViewStyle(list_.hwnd(), LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    list_.DefineColumns(L"Sr.No.,60;Date ,100;Call Id,100;Issue Description,275;Mobile No.,100");
    closeButton_.Attach(hwnd(), IDC_HISTORY_CLOSE);
    closeButton_.LoadStrip(IDB_STRIP_CLOSE);
    // The list has no label of its own: the skin's title names it for
    // screen readers.
    SetWindowTextW(list_.hwnd(), L"Request History");
    loadRows();
    SetFocus(list_.hwnd());
    return FALSE;
}

void HistoryDlg::loadRows() {
    // One read of the whole section instead of one lookup per record: a
    // lookup costs about 0.2 ms, so a long history would take seconds.
    const ProfileSection<wchar_t> section(readProfileSection(historyFile_, L"Tiqora"));
    // The list keeps the rows, in one table, and asks only for the ones it
    // shows.
    std::vector<std::wstring> cells;
    auto records = historyRows(section);
    cells.reserve(records.size() * 5);
    for (auto& record : records)
        for (std::wstring& text : record) cells.push_back(std::move(text));
    list_.SetRows(std::move(cells));
}

bool HistoryDlg::OnCommand(int id, int code, HWND control) {
    if (id == IDC_HISTORY_CLOSE) {
        OnOK();
        return true;
    }
    return ui::CDialogSK::OnCommand(id, code, control);
}

bool HistoryDlg::OnNotify(int, const NMHDR& header, LRESULT& result) {
    if (header.code != LVN_ITEMCHANGED) return false;
    result = 0;
    return true;
}

}  // namespace tiqora
