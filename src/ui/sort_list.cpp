#include "ui/sort_list.h"

#include <commctrl.h>

#include <atomic>
#include <functional>
#include <string_view>
#include <unordered_set>

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

struct CSortListCtrl::RowRecord {
    explicit RowRecord(std::vector<std::wstring> columnTexts) : texts(std::move(columnTexts)) { ++liveRecords; }
    ~RowRecord() { --liveRecords; }
    RowRecord(const RowRecord&) = delete;
    RowRecord& operator=(const RowRecord&) = delete;

    // The whole text of a column (NUL-terminated, as lstrcmpW needs); empty
    // for a column the row does not have.
    std::wstring_view text(int column) const {
        if (column < 0 || static_cast<size_t>(column) >= texts.size()) return L"";
        return texts[static_cast<size_t>(column)];
    }

    std::vector<std::wstring> texts;
};

CSortListCtrl::CSortListCtrl() = default;
CSortListCtrl::~CSortListCtrl() = default;

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

const CSortListCtrl::RowRecord* CSortListCtrl::record(size_t row) const {
    return row < records_.size() ? records_[row].get() : nullptr;
}

std::wstring_view CSortListCtrl::cellText(int row, int column) const {
    const RowRecord* found = row >= 0 ? record(static_cast<size_t>(row)) : nullptr;
    return found ? found->text(column) : std::wstring_view();
}

void CSortListCtrl::showRowCount() {
    if (bulkAppend_ || !hwnd()) return;
    ListView_SetItemCountEx(hwnd(), static_cast<int>(records_.size()), LVSICF_NOSCROLL);
}

void CSortListCtrl::SetRows(std::vector<std::vector<std::wstring>> rows) {
    ClearRows();
    records_.reserve(rows.size());
    for (auto& texts : rows) {
        texts.resize(static_cast<size_t>(columnCount_));
        records_.push_back(std::make_unique<RowRecord>(std::move(texts)));
    }
    showRowCount();
}

int CSortListCtrl::AppendRow(const std::vector<std::wstring>& texts) {
    std::vector<std::wstring> row(static_cast<size_t>(columnCount_));
    for (size_t i = 0; i < row.size() && i < texts.size(); ++i) row[i] = texts[i];
    records_.push_back(std::make_unique<RowRecord>(std::move(row)));
    showRowCount();
    return static_cast<int>(records_.size()) - 1;
}

void CSortListCtrl::ClearRows() {
    // The control forgets the rows first, so it never asks for a freed one.
    if (hwnd()) ListView_SetItemCountEx(hwnd(), 0, 0);
    records_.clear();
}

void CSortListCtrl::SortByColumn(int column, bool ascending) {
    sortColumn_ = column;
    sortAscending_ = ascending;
    HWND list = hwnd();
    // The control keeps selection and focus by position: note which rows
    // hold them, so that they move with their rows.
    std::unordered_set<const RowRecord*> selected;
    for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0; row = ListView_GetNextItem(list, row, LVNI_SELECTED))
        if (const RowRecord* found = record(static_cast<size_t>(row))) selected.insert(found);
    const int focusedRow = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
    const RowRecord* focused = focusedRow >= 0 ? record(static_cast<size_t>(focusedRow)) : nullptr;
    const int markRow = ListView_GetSelectionMark(list);
    const RowRecord* mark = markRow >= 0 ? record(static_cast<size_t>(markRow)) : nullptr;

    sortRowsByColumn<wchar_t>(
        records_, column, ascending, [](const std::unique_ptr<RowRecord>& row, int c) { return row->text(c); }, byLocale);

    if (!selected.empty() || focused) {
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (size_t row = 0; row < records_.size(); ++row) {
            const RowRecord* current = records_[row].get();
            UINT state = 0;
            if (selected.count(current)) state |= LVIS_SELECTED;
            if (current == focused) state |= LVIS_FOCUSED;
            if (state) ListView_SetItemState(list, static_cast<int>(row), state, state);
            if (current == mark) ListView_SetSelectionMark(list, static_cast<int>(row));
        }
    }
    InvalidateRect(list, nullptr, FALSE);
}

void CSortListCtrl::giveItem(LVITEMW& item) const {
    if (!(item.mask & LVIF_TEXT)) return;
    // The control copies the text from the record into the asker's buffer
    // (cut to its size) or draws it from there: the record's text stays
    // until the rows change, which no request for a row outlasts.
    const RowRecord* row = item.iItem >= 0 ? record(static_cast<size_t>(item.iItem)) : nullptr;
    item.pszText = const_cast<wchar_t*>(row ? row->text(item.iSubItem).data() : L"");
}

int CSortListCtrl::findItem(const NMLVFINDITEMW& find) const {
    const LVFINDINFOW& info = find.lvfi;
    if (!(info.flags & (LVFI_STRING | LVFI_PARTIAL)) || !info.psz) return -1;
    const std::wstring_view wanted = info.psz;
    const bool prefix = (info.flags & LVFI_PARTIAL) != 0;
    // Type-to-find compares the first column, case ignored, as the list
    // does with rows it holds itself.
    const auto matches = [&](size_t row) {
        std::wstring_view text = records_[row]->text(0);
        if (prefix && text.size() > wanted.size()) text = text.substr(0, wanted.size());
        if (text.size() != wanted.size()) return false;
        return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.data(), static_cast<int>(text.size()),
                              wanted.data(), static_cast<int>(wanted.size())) == CSTR_EQUAL;
    };
    const size_t start = find.iStart > 0 ? static_cast<size_t>(find.iStart) : 0;
    const auto found = findRow(records_.size(), start, (info.flags & LVFI_WRAP) != 0, matches);
    return found ? static_cast<int>(*found) : -1;
}

LRESULT CSortListCtrl::customDraw(NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        const RowRecord* row = record(static_cast<size_t>(draw.nmcd.dwItemSpec));
        const std::wstring_view status = row ? row->text(4) : std::wstring_view();
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
    // The records go with the list window.
    const LRESULT result = DefaultMessage(message, wParam, lParam);
    records_.clear();
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
