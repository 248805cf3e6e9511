// Request history benchmark, run under Wine (tools/bench-history.sh):
// opening a history of N records (default 20,000): the history dialog itself
// from its creation to its first paint; the reading in one go against one
// profile lookup per record; and the list's own share, the rows handed to
// the virtual list and its first paint, against the same rows filled row by
// row into a plain list with redraw off (the way before). Each figure is the
// median of several runs.
//
//   history_bench [--records N] [--runs R]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "core/support_request/request_history.h"
#include "forms/support_request/history_dlg.h"
#include "harness/machine.h"
#include "harness/test_paths.h"
#include "list_share.h"
#include "resource.h"

namespace {

using Row = std::array<std::wstring, 5>;
using Clock = std::chrono::steady_clock;

const std::wstring kFile = L"C:\\ProgramData\\Orvantis\\Tiqora.ini";
const wchar_t kColumns[] = L"Sr.No.,60;Date ,100;Call Id,100;Issue Description,275;Mobile No.,100";

double millisecondsOf(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void writeHistory(int records) {
    std::string text = "[Tiqora]\r\nCNT=" + std::to_string(records) + "\r\n";
    for (int n = 1; n <= records; ++n)
        text += std::to_string(n) + "=7/12/2026 05:26#CT : " + std::to_string(4000 + n) +
                "#VIRUS - The full scan stops at 40% and the PC slows down#98765" + std::to_string(10000 + n % 90000) +
                "\r\n";
    tiqora::test::writeFileBytes(kFile, text);
}

std::vector<Row> readInOneGo() {
    return tiqora::historyRows(tiqora::ProfileSection<wchar_t>(tiqora::readProfileSection(kFile, L"Tiqora")));
}

std::vector<Row> readKeyByKey() {
    std::vector<Row> rows;
    const int count = static_cast<int>(GetPrivateProfileIntW(L"Tiqora", L"CNT", 0, kFile.c_str()));
    for (int n = 1; n <= count; ++n) {
        const std::wstring key = std::to_wstring(n);
        wchar_t record[1024] = {};
        GetPrivateProfileStringW(L"Tiqora", key.c_str(), L"NULL", record, 1024, kFile.c_str());
        const auto fields = tiqora::splitHistoryRecord<wchar_t>(record);
        rows.push_back({key, fields[0], fields[1], fields[2], fields[3]});
    }
    return rows;
}

// Runs the history dialog modally and closes it once its first paint is
// done (a timer message comes only when nothing else is waiting).
void openHistory() {
    tiqora::HistoryDlg history(kFile);
    const UINT_PTR timer = SetTimer(nullptr, 0, 0, [](HWND, UINT, UINT_PTR, DWORD) {
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM) {
                if (GetDlgItem(window, IDC_HISTORY_LIST)) PostMessageW(window, WM_COMMAND, IDC_HISTORY_CLOSE, 0);
                return TRUE;
            },
            0);
    });
    history.DoModal();
    KillTimer(nullptr, timer);
}

tiqora::bench::ListRows listRowsOf(const std::vector<Row>& rows) {
    tiqora::bench::ListRows result;
    for (const Row& row : rows) result.insert(result.end(), row.begin(), row.end());
    return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int records = 20000, runs = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::wstring(argv[i]) == L"--records") records = std::max(1, _wtoi(argv[i + 1]));
        if (std::wstring(argv[i]) == L"--runs") runs = std::max(1, _wtoi(argv[i + 1]));
    }
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    tiqora::test::SuiteMachine::bare();
    writeHistory(records);

    std::vector<double> opened, oneRead, keyByKey, virtualShare, rowByRowShare;
    std::vector<Row> rows;
    for (int run = 0; run < runs; ++run) {
        opened.push_back(millisecondsOf(openHistory));
        oneRead.push_back(millisecondsOf([&] { rows = readInOneGo(); }));
        const tiqora::bench::ListRows listRows = listRowsOf(rows);
        virtualShare.push_back(
            tiqora::bench::listShareMilliseconds(IDD_REQUEST_HISTORY, IDC_HISTORY_LIST, kColumns, listRows, false));
        rowByRowShare.push_back(
            tiqora::bench::listShareMilliseconds(IDD_REQUEST_HISTORY, IDC_HISTORY_LIST, kColumns, listRows, true));
    }
    // The per-key reading is slow enough that a few runs say all.
    const int slowRuns = std::min(runs, 3);
    for (int run = 0; run < slowRuns; ++run) {
        std::vector<Row> slowRows;
        keyByKey.push_back(millisecondsOf([&] { slowRows = readKeyByKey(); }));
        if (slowRows != rows) {
            std::fprintf(stderr, "the two readings differ\n");
            return 1;
        }
    }

    std::printf("request history of %d records, medians of %d runs (%d per key)\n", records, runs, slowRuns);
    std::printf("%-58s %10.1f ms\n", "history dialog opened (creation to first paint)", median(opened));
    std::printf("%-58s %10.1f ms\n", "reading: one read of the section + rows", median(oneRead));
    std::printf("%-58s %10.1f ms  (%.0fx)\n", "reading: one lookup per key", median(keyByKey),
                median(keyByKey) / median(oneRead));
    std::printf("%-58s %10.1f ms\n", "list: rows to the virtual list + first paint", median(virtualShare));
    std::printf("%-58s %10.1f ms  (%.0fx)\n", "list: row by row, redraw off + first paint (before)",
                median(rowByRowShare), median(rowByRowShare) / median(virtualShare));
    return 0;
}
