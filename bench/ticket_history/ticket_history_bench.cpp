// Ticket history benchmark, run under Wine (tools/bench-ticket-history.sh):
// opening the ticket history (TrackTicketDlg, run modally until its first
// paint, then closed) over N LAN record files (default 10,000) whose GUIDs
// are N keys of Tiqora.ini, against
//   - the floor: the least a program does for the same list: enumerate the
//     folder, one read of the GUID section, read each file whole, take its
//     three values, fill a plain report list with redraw off;
//   - one profile call per file: the same listing with each GUID looked up
//     on its own ("WEB", then "LAN"), the way the history used to;
// and the list alone: the rows handed to the virtual list and its first
// paint, against a row-by-row fill (bench/common/list_share.h).
// Each figure is the median of its runs, all in the same run of this program.
//
//   ticket_history_bench [--records N] [--runs R]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "core/support_request/request_history.h"
#include "core/ticket_history/ticket_history.h"
#include "features/ticket_history/sent_tickets.h"
#include "forms/support_request/history_dlg.h"
#include "forms/ticket_history/track_ticket_dlg.h"
#include "harness/machine.h"
#include "harness/test_paths.h"
#include "list_share.h"
#include "resource.h"
#include "ui/sort_list.h"
#include "win/config_sources.h"

namespace {

using Clock = std::chrono::steady_clock;
using Row = std::array<std::wstring, 5>;  // ticket id, title, description, status, priority

const std::wstring kTicketFolder = L"C:\\ProgramData\\Orvantis\\IT TICKET";
const std::wstring kSentFolder = kTicketFolder + L"\\S";
const std::wstring kTicketIni = kTicketFolder + L"\\Tiqora.ini";

double millisecondsOf(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string guidOf(int n) {
    char guid[40];
    std::snprintf(guid, sizeof guid, "%08x-1c2d-4e5f-8a9b-%012d", n * 2654435761u, n);
    return guid;
}

// N LAN records as the LAN delivery writes them and their GUIDs in section
// "LAN" of Tiqora.ini (so each lookup misses "WEB" first, the longer way).
void layOut(int records) {
    CreateDirectoryW(kTicketFolder.c_str(), nullptr);
    CreateDirectoryW(kSentFolder.c_str(), nullptr);
    std::string ini = "[WEB]\r\n[LAN]\r\n";
    for (int n = 1; n <= records; ++n) {
        const std::string id = "lt-" + std::to_string(100000 + n);
        ini += id + "=" + guidOf(n) + "\r\n";
        const std::string body =
            "{\"LicenseNo\":\"TQ4711-2026-ORV\",\"Ip\":\"10.0.0.5\",\"ComputerName\":\"DESK-7\",\"UserName\":\"asha\","
            "\"IssueTitle\":\"Hardware Issue\",\"Description\":\"The fan is loud, ticket " + std::to_string(n) +
            "\",\"Priority\":\"" + std::to_string(n % 3) +
            "\",\"Status\":\"New\",\"HasScreenShot\":\"NO\",\"ScreenShotPath\":\"NA\","
            "\"TSubmitDateTime\":\"2026-12-10 09:05:03\"}";
        tiqora::test::writeFileBytes(kSentFolder + L"\\L_" + std::wstring(id.begin(), id.end()) + L".txt", body);
    }
    tiqora::test::writeFileBytes(kTicketIni, ini);
}

constexpr wchar_t kColumns[] = L"SrNo.,0;TicketID ,70;IssueTitle,110;Description,100;Status,70;Priority,80";

// The rows as the history hands them to its list: the serial number first.
tiqora::bench::ListRows listRowsOf(const std::vector<Row>& rows) {
    tiqora::bench::ListRows result;
    int serial = 0;
    for (const Row& row : rows) {
        result.push_back(std::to_wstring(++serial));
        result.insert(result.end(), row.begin(), row.end());
    }
    return result;
}

// --- the floor ------------------------------------------------------------------

std::wstring widen(std::string_view text) {
    std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                              nullptr, 0)),
                      L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        static_cast<int>(wide.size()));
    return wide;
}

// The value of a member the floor knows to be a plain string.
std::string_view knownMember(std::string_view body, std::string_view name) {
    std::string key(1, '"');
    key.append(name).append("\":\"");
    const size_t at = body.find(key);
    if (at == std::string_view::npos) return {};
    const size_t start = at + key.size();
    return body.substr(start, body.find('"', start) - start);
}

std::vector<Row> floorRows() {
    std::vector<Row> rows;
    const auto section = tiqora::readProfileSection(kTicketIni, L"LAN");
    std::vector<std::wstring> keys;
    for (const std::wstring& line : section) keys.push_back(line.substr(0, line.find(L'=')));
    std::sort(keys.begin(), keys.end());
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((kSentFolder + L"\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return rows;
    std::string body;
    do {
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN)) continue;
        const std::wstring name = found.cFileName;
        if (name.size() < 7 || name.compare(0, 2, L"L_") != 0) continue;
        const std::wstring id = name.substr(2, name.size() - 6);
        if (!std::binary_search(keys.begin(), keys.end(), id)) continue;
        HANDLE file = CreateFileW((kSentFolder + L"\\" + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) continue;
        body.resize(GetFileSize(file, nullptr));
        DWORD read = 0;
        ReadFile(file, body.data(), static_cast<DWORD>(body.size()), &read, nullptr);
        CloseHandle(file);
        const std::string_view priority = knownMember(body, "Priority");
        rows.push_back({id, widen(knownMember(body, "IssueTitle")), widen(knownMember(body, "Description")), L"New",
                        priority == "0" ? L"Low" : (priority == "1" ? L"Medium" : L"High")});
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return rows;
}

// A plain report list in a hidden window, filled with redraw off.
void floorFill(const std::vector<Row>& rows) {
    HWND frame = CreateWindowExW(0, L"STATIC", L"floor", WS_POPUP, 0, 0, 432, 465, nullptr, nullptr, nullptr, nullptr);
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 6, 41, 416, 200, frame,
                                nullptr, nullptr, nullptr);
    ListView_SetExtendedListViewStyle(list, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    const std::pair<const wchar_t*, int> columns[] = {{L"SrNo.", 0},       {L"TicketID ", 70}, {L"IssueTitle", 110},
                                                      {L"Description", 100}, {L"Status", 70},  {L"Priority", 80}};
    for (int c = 0; c < 6; ++c) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(columns[c].first);
        column.cx = columns[c].second;
        ListView_InsertColumn(list, c, &column);
    }
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    int serial = 0;
    for (const Row& row : rows) {
        std::wstring number = std::to_wstring(++serial);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = serial - 1;
        item.pszText = number.data();
        const int index = ListView_InsertItem(list, &item);
        for (int c = 0; c < 5; ++c) ListView_SetItemText(list, index, c + 1, const_cast<wchar_t*>(row[c].c_str()));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    DestroyWindow(frame);
}

// --- the history ------------------------------------------------------------------

// Runs the ticket history modally and closes it once its first paint is
// done (a timer message comes only when nothing else is waiting).
void openHistory() {
    tiqora::KrlmFlags flags{L"N/A", L"", L"L"};
    tiqora::HistoryPageContext pages;
    pages.ticketIni = kTicketIni;
    tiqora::TrackTicketDlg history(flags, kSentFolder, pages);
    const UINT_PTR timer = SetTimer(nullptr, 0, 0, [](HWND, UINT, UINT_PTR, DWORD) {
        if (HWND dialog = FindWindowW(L"#32770", L"IT TICKET")) PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    history.DoModal();
    KillTimer(nullptr, timer);
}

// The listing with one profile lookup per file, filled as the history fills.
std::vector<Row> perKeyRows() {
    std::vector<Row> rows;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((kSentFolder + L"\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return rows;
    do {
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN)) continue;
        const std::wstring name = found.cFileName;
        if (name.size() < 7 || name.compare(0, 2, L"L_") != 0) continue;
        const std::wstring id = name.substr(2, name.size() - 6);
        std::wstring guid = tiqora::readIniString(kTicketIni, L"WEB", id.c_str(), L"", 260);
        if (guid.empty()) guid = tiqora::readIniString(kTicketIni, L"LAN", id.c_str(), L"", 260);
        if (guid.empty()) continue;
        std::string bytes;
        if (!tiqora::readLanRecordBytes(kSentFolder + L"\\" + name, bytes)) continue;
        const tiqora::RecordColumns columns = tiqora::readLanRecord(tiqora::recordTextAsUtf8(std::move(bytes)));
        rows.push_back({id, widen(columns.issueTitle), widen(columns.description), widen(columns.status),
                        widen(columns.priority)});
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return rows;
}

// The GUID lookups alone, both ways, for every record file's id.
std::vector<std::wstring> recordIds() {
    std::vector<std::wstring> ids;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((kSentFolder + L"\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return ids;
    do {
        const std::wstring name = found.cFileName;
        if (name.size() >= 7 && name.compare(0, 2, L"L_") == 0) ids.push_back(name.substr(2, name.size() - 6));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return ids;
}

size_t guidsBySection(const std::vector<std::wstring>& ids) {
    const tiqora::ProfileSection<wchar_t> web(tiqora::readProfileSection(kTicketIni, L"WEB"));
    const tiqora::ProfileSection<wchar_t> lan(tiqora::readProfileSection(kTicketIni, L"LAN"));
    size_t found = 0;
    for (const std::wstring& id : ids) {
        std::wstring guid = web.text(id, L"", 259);
        if (guid.empty()) guid = lan.text(id, L"", 259);
        found += !guid.empty();
    }
    return found;
}

size_t guidsByCall(const std::vector<std::wstring>& ids) {
    size_t found = 0;
    for (const std::wstring& id : ids) {
        std::wstring guid = tiqora::readIniString(kTicketIni, L"WEB", id.c_str(), L"", 260);
        if (guid.empty()) guid = tiqora::readIniString(kTicketIni, L"LAN", id.c_str(), L"", 260);
        found += !guid.empty();
    }
    return found;
}

void listFill(const std::vector<Row>& rows) {
    HWND frame = CreateWindowExW(0, L"STATIC", L"per key", WS_POPUP, 0, 0, 432, 465, nullptr, nullptr, nullptr, nullptr);
    HWND view = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 6, 41, 416,
                                200, frame, reinterpret_cast<HMENU>(1), nullptr, nullptr);
    {
        tiqora::ui::CSortListCtrl list;
        list.AttachWindow(view);
        list.DefineColumns(kColumns);
        list.SetRows(listRowsOf(rows));
    }
    DestroyWindow(frame);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int records = 10000, runs = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::wstring(argv[i]) == L"--records") records = std::max(1, _wtoi(argv[i + 1]));
        if (std::wstring(argv[i]) == L"--runs") runs = std::max(1, _wtoi(argv[i + 1]));
    }
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&controls);
    tiqora::test::SuiteMachine::bare();
    layOut(records);

    // The three ways must agree on the rows before their times mean anything.
    const std::vector<Row> floor = floorRows();
    const tiqora::SentTicketScan scan = tiqora::scanSentTickets(kSentFolder, kTicketIni, tiqora::DeliveryMode::Lan);
    std::vector<Row> listed;
    for (const auto& ticket : scan.tickets)
        listed.push_back({ticket.ticketId, ticket.issueTitle, ticket.description, ticket.status, ticket.priority});
    if (floor.size() != static_cast<size_t>(records) || listed != floor || perKeyRows() != floor) {
        std::fprintf(stderr, "the listings differ (%zu floor rows, %zu history rows)\n", floor.size(), listed.size());
        return 1;
    }

    std::vector<double> history, floorTimes, perKey, floorReads, historyReads;
    for (int run = 0; run < runs; ++run) {
        floorTimes.push_back(millisecondsOf([] { floorFill(floorRows()); }));
        history.push_back(millisecondsOf(openHistory));
        floorReads.push_back(millisecondsOf([] { floorRows(); }));
        historyReads.push_back(millisecondsOf(
            [] { tiqora::scanSentTickets(kSentFolder, kTicketIni, tiqora::DeliveryMode::Lan); }));
    }
    // The slow way is slow enough that a few runs say all.
    const int slowRuns = std::min(runs, 3);
    for (int run = 0; run < slowRuns; ++run) perKey.push_back(millisecondsOf([] { listFill(perKeyRows()); }));

    // The list's own share, both ways.
    const tiqora::bench::ListRows listRows = listRowsOf(floor);
    std::vector<double> virtualShare, rowByRowShare;
    for (int run = 0; run < runs; ++run) {
        virtualShare.push_back(
            tiqora::bench::listShareMilliseconds(IDD_TICKET_HISTORY, IDC_TRACK_LIST, kColumns, listRows, false));
        rowByRowShare.push_back(
            tiqora::bench::listShareMilliseconds(IDD_TICKET_HISTORY, IDC_TRACK_LIST, kColumns, listRows, true));
    }

    const std::vector<std::wstring> ids = recordIds();
    std::vector<double> bySection, byCall;
    size_t sectionFound = 0, callFound = 0;
    for (int run = 0; run < runs; ++run) bySection.push_back(millisecondsOf([&] { sectionFound = guidsBySection(ids); }));
    for (int run = 0; run < slowRuns; ++run) byCall.push_back(millisecondsOf([&] { callFound = guidsByCall(ids); }));
    if (sectionFound != ids.size() || callFound != ids.size()) {
        std::fprintf(stderr, "the GUID lookups differ (%zu, %zu of %zu)\n", sectionFound, callFound, ids.size());
        return 1;
    }

    const double historyMs = median(history), floorMs = median(floorTimes), perKeyMs = median(perKey);
    std::printf("ticket history of %d LAN records and %d Tiqora.ini keys, medians of %d runs (%d per key)\n", records,
                records, runs, slowRuns);
    std::printf("%-52s %10.1f ms\n", "floor: read the files, fill a list, redraw off", floorMs);
    std::printf("%-52s %10.1f ms  (%.2fx the floor)\n", "ticket history opened (until its first paint)", historyMs,
                historyMs / floorMs);
    std::printf("%-52s %10.1f ms  (%.1fx the history)\n", "one profile call per file + the same fill", perKeyMs,
                perKeyMs / historyMs);
    std::printf("reading alone: the floor's %.1f ms, the history's scan %.1f ms\n", median(floorReads),
                median(historyReads));
    std::printf("list alone: rows to the virtual list + first paint %.1f ms; row by row, redraw off + first paint "
                "(before) %.1f ms\n",
                median(virtualShare), median(rowByRowShare));
    std::printf("GUID lookups alone: one read of each section %.1f ms, one call per file %.1f ms (%.0fx)\n",
                median(bySection), median(byCall), median(byCall) / median(bySection));
    return 0;
}
