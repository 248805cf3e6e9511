#include "forms/ticket_history/track_ticket_dlg.h"

#include <commctrl.h>

#include <utility>

#include "core/ticket_history/ticket_history.h"
#include "features/ticket_history/sent_tickets.h"
#include "resource.h"
#include "ui/look.h"
#include "win/ticket_log.h"
#include "win/wide_text.h"

namespace tiqora {

namespace {

TicketSelection selection;

constexpr wchar_t kColumns[] = L"SrNo.,0;TicketID ,70;IssueTitle,110;Description,100;Status,70;Priority,80";
enum Column { kSerial, kTicketId, kIssueTitle, kDescription, kStatus, kPriority, kColumnCount };

constexpr int kFontControls[] = {
    IDC_TRACK_ID,         IDC_TRACK_TITLE,      IDC_TRACK_DESCRIPTION, IDC_TRACK_ID_LABEL,
    IDC_TRACK_TITLE_LABEL, IDC_TRACK_DESC_LABEL, IDC_TRACK_DETAILS,     IDC_TRACK_STATUS_LABEL,
    IDC_TRACK_STATUS,     IDC_TRACK_REPLY,      IDC_TRACK_DATE_LABEL,  IDC_TRACK_REPLY_LABEL,
    IDC_TRACK_NOTE_LABEL, IDC_TRACK_SPARE_TEXT, IDC_TRACK_DATE,        IDC_TRACK_LIST,
};

// A multi-line edit breaks lines at CR LF only.
std::wstring withWindowsLineBreaks(const std::wstring& text) {
    std::wstring result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) result += L'\r';
        result += text[i];
    }
    return result;
}

}  // namespace

const TicketSelection& ticketSelection() { return selection; }

TrackTicketDlg::TrackTicketDlg(KrlmFlags flags, std::wstring sentFolder, HistoryPageContext pages)
    : ui::CDialogSK(IDD_TICKET_HISTORY),
      flags_(std::move(flags)),
      sentFolder_(std::move(sentFolder)),
      pages_(std::move(pages)) {}

BOOL TrackTicketDlg::OnInitDialog() {
    writeTicketLog("OnInitDialog history");
    serial_ = 0;
    SetFocus(hwnd());

    list_.AttachList(hwnd(), IDC_TRACK_LIST);
    font_ = ui::verdanaFont(15);
    for (int id : kFontControls) SendMessageW(item(id), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);

    list_.ClearRows();
    ShowWindow(item(IDC_TRACK_SPARE_LIST), SW_HIDE);
    ShowWindow(item(IDC_TRACK_BUTTON1), SW_HIDE);
    // Centred on the work area (the form that opens it is centred too).
    RECT window, work;
    GetWindowRect(hwnd(), &window);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(hwnd(), nullptr, work.left + ((work.right - work.left) - (window.right - window.left)) / 2,
                 work.top + ((work.bottom - work.top) - (window.bottom - window.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowTextW(hwnd(), L"IT TICKET");
    LoadSkin(IDB_SKIN_TRACK);
    closeButton_.Attach(hwnd(), IDC_TRACK_CLOSE);
    closeButton_.LoadStrip(IDB_STRIP_X);

    ListView_SetExtendedListViewStyle(list_.hwnd(), LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    list_.DefineColumns(kColumns);
    ShowScrollBar(list_.hwnd(), SB_BOTH, TRUE);
    EnableScrollBar(list_.hwnd(), SB_BOTH, ESB_ENABLE_BOTH);

    writeTicketLog("before findfiles");
    list_.ClearRows();
    fillList();
    writeTicketLog("after findfiles");
    // The list has no label of its own: the skin's title names it for
    // screen readers. The user starts in the list.
    SetWindowTextW(list_.hwnd(), L"Ticket History");
    SetFocus(list_.hwnd());
    return FALSE;
}

HistoryChoice TrackTicketDlg::choice() const {
    return historyChoiceFor(DeliveryFlagsText(flags_).flags());
}

void TrackTicketDlg::fillList() {
    SentTicketScan scan = scanSentTickets(sentFolder_, pages_.ticketIni, choice().mode);
    guids_.clear();
    // The list keeps the rows, in one table (columns in kColumns' order),
    // and asks only for the ones it shows.
    std::vector<std::wstring> cells;
    cells.reserve(scan.tickets.size() * kColumnCount);
    for (SentTicket& ticket : scan.tickets) {
        cells.push_back(std::to_wstring(++serial_));
        for (std::wstring* text : {&ticket.ticketId, &ticket.issueTitle, &ticket.description, &ticket.status,
                                   &ticket.priority})
            cells.push_back(std::move(*text));
        guids_.push_back(std::move(ticket.guid));
    }
    list_.SetRows(std::move(cells));
    // After LAN records the panel shows the first ticket (without its status).
    if (scan.lanRecordsMet > 0) {
        takeRow(0);
        showSelection(false);
    }
}

void TrackTicketDlg::takeRow(int row) {
    selection.ticketId.clear();
    selection.issueTitle.clear();
    selection.description.clear();
    selection.status.clear();
    selection.priority.clear();
    if (row < 0 || row >= list_.rowCount()) return;
    selection.ticketId = list_.cellText(row, kTicketId);
    selection.priority = list_.cellText(row, kPriority);
    selection.issueTitle = list_.cellText(row, kIssueTitle);
    selection.description = list_.cellText(row, kDescription);
    selection.status = list_.cellText(row, kStatus);
}

void TrackTicketDlg::showSelection(bool withStatus) {
    if (ListView_GetItemCount(list_.hwnd()) <= selection.rowIndex) return;
    for (int id : {IDC_TRACK_ID, IDC_TRACK_TITLE, IDC_TRACK_DESCRIPTION}) SetWindowTextW(item(id), L"");
    if (!withStatus) SetWindowTextW(item(IDC_TRACK_STATUS), L"");
    SetWindowTextW(item(IDC_TRACK_ID), selection.ticketId.c_str());
    SetWindowTextW(item(IDC_TRACK_TITLE), selection.issueTitle.c_str());
    SetWindowTextW(item(IDC_TRACK_DESCRIPTION), withWindowsLineBreaks(selection.description).c_str());
    if (withStatus) SetWindowTextW(item(IDC_TRACK_STATUS), selection.status.c_str());
}

void TrackTicketDlg::onRowClick(int clickedRow) {
    // The row the click hit, not the selection mark: the mark stays on the
    // row clicked before, so a click below the rows would open that
    // ticket's page again.
    selection.rowIndex = clickedRow;
    const int row = selection.rowIndex;
    if (row < 0) return;
    takeRow(row);
    showSelection(true);
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);

    // The row's own GUID, as the listing found it ("WEB" first, then "LAN").
    std::wstring guid;
    const int serial = _wtoi(std::wstring(list_.cellText(row, kSerial)).c_str());
    if (serial >= 1 && static_cast<size_t>(serial) <= guids_.size()) guid = guids_[static_cast<size_t>(serial - 1)];

    const HistoryChoice page = choice();
    if (page.mode == DeliveryMode::Lan) openLanTicketPage(pages_, guid, page.lanLogFormat);
    if (page.mode == DeliveryMode::Web) openWebTicketPage(pages_, guid);
}

bool TrackTicketDlg::OnCommand(int id, int code, HWND control) {
    switch (id) {
    case IDC_TRACK_CLOSE:
        OnOK();
        return true;
    case IDC_TRACK_BUTTON1:
        return true;
    default:
        return ui::CDialogSK::OnCommand(id, code, control);
    }
}

HBRUSH TrackTicketDlg::OnCtlColor(UINT message, HDC dc, HWND control) {
    if (message == WM_CTLCOLORDLG) return ui::whiteBrush();
    if (message != WM_CTLCOLORSTATIC) return nullptr;
    const int id = GetDlgCtrlID(control);
    if (id == IDC_TRACK_ID || id == IDC_TRACK_TITLE) {
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        return static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
    }
    SetBkMode(dc, TRANSPARENT);
    return ui::whiteBrush();
}

bool TrackTicketDlg::OnNotify(int id, const NMHDR& header, LRESULT& result) {
    if (id != IDC_TRACK_LIST || header.code != NM_CLICK) return false;
    onRowClick(reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
    result = 0;
    return true;
}

}  // namespace tiqora
