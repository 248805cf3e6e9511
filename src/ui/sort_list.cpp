#include "ui/sort_list.h"

#include <commctrl.h>

#include <atomic>
#include <string_view>

#include "core/ui/list_rules.h"
#include "win/wide_text.h"

namespace tiqora::ui {

namespace {
std::atomic<size_t> liveRecords{0};
}

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

int CSortListCtrl::AppendRow(const std::vector<std::wstring>& texts) {
    std::vector<std::wstring> row(static_cast<size_t>(columnCount_));
    for (size_t i = 0; i < row.size() && i < texts.size(); ++i) row[i] = texts[i];
    auto record = std::make_unique<RowRecord>(std::move(row));

    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = ListView_GetItemCount(hwnd());
    item.pszText = record->texts.empty() ? const_cast<wchar_t*>(L"") : record->texts[0].data();
    item.lParam = reinterpret_cast<LPARAM>(record.get());
    const int index = static_cast<int>(SendMessageW(hwnd(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0) return -1;
    for (int column = 1; column < columnCount_; ++column) {
        LVITEMW cell{};
        cell.iSubItem = column;
        cell.pszText = record->texts[static_cast<size_t>(column)].data();
        SendMessageW(hwnd(), LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&cell));
    }
    records_.push_back(std::move(record));
    return index;
}

void CSortListCtrl::ClearRows() {
    // The rows go first, so no row is left pointing at a freed record.
    if (hwnd()) ListView_DeleteAllItems(hwnd());
    records_.clear();
}

int CALLBACK CSortListCtrl::compareRows(LPARAM first, LPARAM second, LPARAM list) {
    try {
        const auto* self = reinterpret_cast<const CSortListCtrl*>(list);
        const auto* a = reinterpret_cast<const RowRecord*>(first);
        const auto* b = reinterpret_cast<const RowRecord*>(second);
        if (!a || !b) return 0;
        // The views are whole, NUL-terminated column texts.
        static const std::function<int(std::wstring_view, std::wstring_view)> byLocale =
            [](std::wstring_view x, std::wstring_view y) { return lstrcmpW(x.data(), y.data()); };
        return compareRowTexts<wchar_t>(a->text(self->sortColumn_), b->text(self->sortColumn_), self->sortAscending_,
                                        byLocale);
    } catch (...) {
        return 0;  // never unwind through the list control
    }
}

void CSortListCtrl::SortByColumn(int column, bool ascending) {
    sortColumn_ = column;
    sortAscending_ = ascending;
    ListView_SortItems(hwnd(), compareRows, reinterpret_cast<LPARAM>(this));
}

LRESULT CSortListCtrl::customDraw(NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        const auto* record = reinterpret_cast<const RowRecord*>(draw.nmcd.lItemlParam);
        const std::wstring_view status = record ? record->text(4) : std::wstring_view();
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
    if (header->code == LVN_COLUMNCLICK) {
        const int column = reinterpret_cast<NMLISTVIEW*>(lParam)->iSubItem;
        SortByColumn(column, sortAscendingAfterClick(column, sortColumn_, sortAscending_));
        result = 0;
        return true;
    }
    if (header->code == NM_CUSTOMDRAW) {
        result = customDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
        return true;
    }
    return false;
}

LRESULT CSortListCtrl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_DESTROY) return DefaultMessage(message, wParam, lParam);
    // The records go with the list window.
    const LRESULT result = DefaultMessage(message, wParam, lParam);
    records_.clear();
    return result;
}

CSortListCtrl::BulkAppend::BulkAppend(CSortListCtrl& list) : list_(list.hwnd()) {
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
}

CSortListCtrl::BulkAppend::~BulkAppend() {
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

}  // namespace tiqora::ui
