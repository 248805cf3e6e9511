#include "ui/sort_list.h"

#include <commctrl.h>

#include <atomic>
#include <functional>
#include <string_view>

#include "core/ui/list_rules.h"
#include "win/wide_text.h"

namespace tiqora::ui {

namespace {

std::atomic<size_t> liveRecords{0};

// Text order in the user's locale, as the list's own sort compared; the views
// are whole, NUL-terminated column texts.
const std::function<int(std::wstring_view, std::wstring_view)> byLocale = [](std::wstring_view x, std::wstring_view y) {
    return lstrcmpW(x.data(), y.data());
};

}  // namespace

CSortListCtrl::CSortListCtrl() = default;
CSortListCtrl::~CSortListCtrl() { dropRows(); }

size_t CSortListCtrl::liveRowRecords() { return liveRecords.load(); }

bool CSortListCtrl::AttachList(HWND dialog, int id) {
    if (!Attach(dialog, id)) return false;
    header_.AttachWindow(ListView_GetHeader(hwnd()));
    return true;
}

BOOL CSortListCtrl::DefineColumns(const std::wstring& spec) {
    for (const ColumnSpec& column : parseColumnSpec(toUtf8(spec))) {
        std::wstring title = fromUtf8(column.title);
        LVCOLUMNW definition{};
        definition.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        definition.fmt = LVCFMT_LEFT;
        definition.cx = column.width;
        definition.pszText = title.data();
        definition.iSubItem = columnCount_;
        if (ListView_InsertColumn(hwnd(), columnCount_, &definition) == -1) return FALSE;
        ++columnCount_;
    }
    return TRUE;
}

std::wstring_view CSortListCtrl::storedText(size_t stored, int column) const {
    // The whole text, NUL-terminated (lstrcmpW and the control read it so).
    if (column < 0 || column >= columnCount_) return L"";
    const size_t cell = stored * static_cast<size_t>(columnCount_) + static_cast<size_t>(column);
    return cell < cells_.size() ? std::wstring_view(cells_[cell]) : std::wstring_view(L"");
}

std::wstring_view CSortListCtrl::cellText(int row, int column) const {
    if (row < 0 || static_cast<size_t>(row) >= order_.size()) return L"";
    return storedText(order_[static_cast<size_t>(row)], column);
}

void CSortListCtrl::showRowCount() {
    if (bulkAppend_ || !hwnd()) return;
    ListView_SetItemCountEx(hwnd(), static_cast<int>(order_.size()), LVSICF_NOSCROLL);
}

void CSortListCtrl::dropRows() {
    liveRecords -= order_.size();
    order_.clear();
    cells_.clear();
}

void CSortListCtrl::SetRows(std::vector<std::wstring> cells) {
    ClearRows();
    if (columnCount_ <= 0) return;
    const size_t columns = static_cast<size_t>(columnCount_);
    cells_ = std::move(cells);
    cells_.resize((cells_.size() + columns - 1) / columns * columns);
    order_.resize(cells_.size() / columns);
    for (size_t row = 0; row < order_.size(); ++row) order_[row] = row;
    liveRecords += order_.size();
    showRowCount();
}

int CSortListCtrl::AppendRow(const std::vector<std::wstring>& texts) {
    for (int column = 0; column < columnCount_; ++column)
        cells_.push_back(static_cast<size_t>(column) < texts.size() ? texts[static_cast<size_t>(column)] : std::wstring());
    order_.push_back(order_.size());
    ++liveRecords;
    showRowCount();
    return static_cast<int>(order_.size()) - 1;
}

void CSortListCtrl::ClearRows() {
    // The control forgets the rows first, so it never asks for a freed one.
    if (hwnd()) ListView_SetItemCountEx(hwnd(), 0, 0);
    dropRows();
}

void CSortListCtrl::SortByColumn(int column, bool ascending) {
    sortColumn_ = column;
    sortAscending_ = ascending;
    HWND list = hwnd();
    // The control keeps selection, focus and mark by position: note which
    // stored rows hold them, so that they move with their rows.
    constexpr char kSelected = 1, kFocused = 2, kMark = 4;
    std::vector<char> state(order_.size(), 0);
    bool anyState = false;
    const auto note = [&](int row, char what) {
        if (row < 0 || static_cast<size_t>(row) >= order_.size()) return;
        state[order_[static_cast<size_t>(row)]] |= what;
        anyState = true;
    };
    for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0; row = ListView_GetNextItem(list, row, LVNI_SELECTED))
        note(row, kSelected);
    note(ListView_GetNextItem(list, -1, LVNI_FOCUSED), kFocused);
    note(ListView_GetSelectionMark(list), kMark);

    sortRowsByColumn<wchar_t>(
        order_, column, ascending, [this](size_t stored, int c) { return storedText(stored, c); }, byLocale);

    if (anyState) {
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (size_t row = 0; row < order_.size(); ++row) {
            const char held = state[order_[row]];
            if (!held) continue;
            const UINT flags = ((held & kSelected) ? LVIS_SELECTED : 0u) | ((held & kFocused) ? LVIS_FOCUSED : 0u);
            if (flags) ListView_SetItemState(list, static_cast<int>(row), flags, flags);
            if (held & kMark) ListView_SetSelectionMark(list, static_cast<int>(row));
        }
    }
    InvalidateRect(list, nullptr, FALSE);
}

void CSortListCtrl::giveItem(LVITEMW& item) const {
    if (!(item.mask & LVIF_TEXT)) return;
    // The control copies the text from the table into the asker's buffer
    // (cut to its size) or draws it from there: the text stays until the
    // rows change, which no request for a row outlasts.
    item.pszText = const_cast<wchar_t*>(cellText(item.iItem, item.iSubItem).data());
}

int CSortListCtrl::findItem(const NMLVFINDITEMW& find) const {
    const LVFINDINFOW& info = find.lvfi;
    if (!(info.flags & (LVFI_STRING | LVFI_PARTIAL)) || !info.psz) return -1;
    const std::wstring_view wanted = info.psz;
    const bool prefix = (info.flags & LVFI_PARTIAL) != 0;
    // Type-to-find compares the first column, case ignored, as the list
    // does with rows it holds itself.
    const auto matches = [&](size_t row) {
        std::wstring_view text = storedText(order_[row], 0);
        if (prefix && text.size() > wanted.size()) text = text.substr(0, wanted.size());
        if (text.size() != wanted.size()) return false;
        return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.data(), static_cast<int>(text.size()),
                              wanted.data(), static_cast<int>(wanted.size())) == CSTR_EQUAL;
    };
    const size_t start = find.iStart > 0 ? static_cast<size_t>(find.iStart) : 0;
    const auto found = findRow(order_.size(), start, (info.flags & LVFI_WRAP) != 0, matches);
    return found ? static_cast<int>(*found) : -1;
}

LRESULT CSortListCtrl::customDraw(NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        const std::wstring_view status = cellText(static_cast<int>(draw.nmcd.dwItemSpec), 4);
        const RowShade shade = rowShade<wchar_t>(static_cast<size_t>(draw.nmcd.dwItemSpec), status);
        draw.clrTextBk = shade.background;
        return shade.byStatus ? CDRF_NEWFONT : CDRF_DODEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

bool CSortListCtrl::OnReflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_NOTIFY) return false;
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    switch (header->code) {
    case LVN_GETDISPINFOW:
        giveItem(reinterpret_cast<NMLVDISPINFOW*>(lParam)->item);
        result = 0;
        return true;
    case LVN_ODFINDITEMW:
        result = findItem(*reinterpret_cast<NMLVFINDITEMW*>(lParam));
        return true;
    case LVN_COLUMNCLICK: {
        const int column = reinterpret_cast<NMLISTVIEW*>(lParam)->iSubItem;
        SortByColumn(column, sortAscendingAfterClick(column, sortColumn_, sortAscending_));
        result = 0;
        return true;
    }
    case NM_CUSTOMDRAW:
        result = customDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
        return true;
    default:
        return false;
    }
}

LRESULT CSortListCtrl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_DESTROY) return DefaultMessage(message, wParam, lParam);
    // The rows go with the list window.
    const LRESULT result = DefaultMessage(message, wParam, lParam);
    dropRows();
    return result;
}

CSortListCtrl::BulkAppend::BulkAppend(CSortListCtrl& list) : list_(list) {
    list_.bulkAppend_ = true;
    SendMessageW(list_.hwnd(), WM_SETREDRAW, FALSE, 0);
}

CSortListCtrl::BulkAppend::~BulkAppend() {
    list_.bulkAppend_ = false;
    list_.showRowCount();
    SendMessageW(list_.hwnd(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_.hwnd(), nullptr, TRUE);
}

}  // namespace tiqora::ui
