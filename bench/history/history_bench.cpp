// Request history benchmark, run under Wine (tools/bench-history.sh):
// opening a history of N records (default 20,000), read in one go and filled
// with redraw off, as the history dialog does, against one profile lookup per
// record and a plain fill. Read time and fill time are measured apart, each
// the median of several runs.
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
#include "ui/sort_list.h"

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

// A list like the dialog's, in a window of its own (hidden, as the dialog's
// list is while the dialog initialises).
class ListWindow {
public:
    ListWindow() {
        frame_ = CreateWindowExW(0, L"STATIC", L"history", WS_POPUP, 0, 0, 800, 400, nullptr, nullptr, nullptr, nullptr);
        HWND view = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 800, 400, frame_,
                                    reinterpret_cast<HMENU>(1), nullptr, nullptr);
        list_.AttachWindow(view);
        ListView_SetExtendedListViewStyle(view, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
        list_.DefineColumns(kColumns);
    }
    ~ListWindow() { DestroyWindow(frame_); }
    ListWindow(const ListWindow&) = delete;
    ListWindow& operator=(const ListWindow&) = delete;

    void fill(const std::vector<Row>& rows, bool redrawOff) {
        if (redrawOff) {
            tiqora::ui::CSortListCtrl::BulkAppend bulk(list_);
            for (const Row& row : rows) list_.AppendRow({row.begin(), row.end()});
        } else {
            for (const Row& row : rows) list_.AppendRow({row.begin(), row.end()});
        }
    }

private:
    HWND frame_ = nullptr;
    tiqora::ui::CSortListCtrl list_;
};

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

    std::vector<double> oneRead, keyByKey, bulkFill, plainFill;
    std::vector<Row> rows;
    for (int run = 0; run < runs; ++run) {
        oneRead.push_back(millisecondsOf([&] { rows = readInOneGo(); }));
        ListWindow bulk;
        bulkFill.push_back(millisecondsOf([&] { bulk.fill(rows, true); }));
    }
    // The plain way is slow enough that a few runs say all.
    const int slowRuns = std::min(runs, 3);
    for (int run = 0; run < slowRuns; ++run) {
        std::vector<Row> slowRows;
        keyByKey.push_back(millisecondsOf([&] { slowRows = readKeyByKey(); }));
        if (slowRows != rows) {
            std::fprintf(stderr, "the two readings differ\n");
            return 1;
        }
        ListWindow plain;
        plainFill.push_back(millisecondsOf([&] { plain.fill(slowRows, false); }));
    }

    const double fast = median(oneRead) + median(bulkFill);
    const double slow = median(keyByKey) + median(plainFill);
    std::printf("request history of %d records, medians of %d (fast) and %d (per-key) runs\n", records, runs, slowRuns);
    std::printf("%-34s %10s %10s %10s\n", "", "read ms", "fill ms", "total ms");
    std::printf("%-34s %10.1f %10.1f %10.1f\n", "one read + fill with redraw off", median(oneRead), median(bulkFill), fast);
    std::printf("%-34s %10.1f %10.1f %10.1f\n", "lookup per key + plain fill", median(keyByKey), median(plainFill), slow);
    std::printf("speed-up: reading %.0fx, filling %.0fx, together %.0fx\n", median(keyByKey) / median(oneRead),
                median(plainFill) / median(bulkFill), slow / fast);
    return 0;
}
