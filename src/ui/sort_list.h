// CSortListCtrl: the report list of the two history dialogs, a virtual list
// (the template gives it LVS_OWNERDATA). It defines its columns from one
// specification string and keeps every row's texts itself, in one table:
// the control holds only the row count and asks for the texts of the rows it
// shows, so handing it 20,000 rows costs one message. A heading click sorts
// the rows (numbers, day/month/year dates, text; rows that compare equal
// keep their order), selection and focus staying with their rows; typing
// finds a row by its first column; rows paint in alternating shades, green or
// red by the status word in the fifth column.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "ui/dialog.h"

namespace tiqora::ui {

// The list's header control, subclassed so the list owns it; drawing stays
// the system's.
class CSortHeaderCtrl : public Control {};

class CSortListCtrl : public Control {
public:
    CSortListCtrl();
    ~CSortListCtrl() override;

    // Binds to the list control `id` of `dialog` and subclasses its header.
    bool AttachList(HWND dialog, int id);

    // "Title,width;Title,width;..." — see parseColumnSpec. FALSE when a
    // column cannot be inserted (the ones before it stay).
    BOOL DefineColumns(const std::wstring& spec);
    // Shows the rows of `cells` (column-count texts a row, row after row; a
    // short last row gets empty texts) in their order instead of the rows
    // shown, unsorted. One table, so that 20,000 rows cost no allocation
    // each.
    void SetRows(std::vector<std::wstring> cells);
    // Appends a row of column-count texts (missing ones are empty, extra ones
    // ignored); returns its index.
    int AppendRow(const std::vector<std::wstring>& texts);
    // Frees and deletes all rows.
    void ClearRows();
    void SortByColumn(int column, bool ascending);

    int rowCount() const { return static_cast<int>(order_.size()); }
    // The text of a cell of the row shown at `row`; empty outside the rows
    // and columns. Valid until the rows change.
    std::wstring_view cellText(int row, int column) const;

    int columnCount() const { return columnCount_; }
    int sortColumn() const { return sortColumn_; }
    bool sortAscending() const { return sortAscending_; }

    // Rows held by lists in the whole process (for leak checks).
    static size_t liveRowRecords();

    // Rows appended meanwhile reach the control at the end, in one count
    // and one repaint, with redraw off in between.
    class BulkAppend {
    public:
        explicit BulkAppend(CSortListCtrl& list);
        ~BulkAppend();
        BulkAppend(const BulkAppend&) = delete;
        BulkAppend& operator=(const BulkAppend&) = delete;

    private:
        CSortListCtrl& list_;
    };

protected:
    bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The text of a cell of stored row `stored` (not the row shown).
    std::wstring_view storedText(size_t stored, int column) const;
    // Forgets every row (the control's count aside).
    void dropRows();
    // Tells the control the row count (after rows were set, appended or
    // cleared) unless a bulk append is under way.
    void showRowCount();
    LRESULT customDraw(NMLVCUSTOMDRAW& draw);
    void giveItem(LVITEMW& item) const;
    int findItem(const NMLVFINDITEMW& find) const;

    CSortHeaderCtrl header_;
    int columnCount_ = 0;
    int sortColumn_ = -1;
    bool sortAscending_ = true;
    bool bulkAppend_ = false;
    // Row after row, column-count texts each, in the order they came.
    std::vector<std::wstring> cells_;
    // The stored row shown at each position.
    std::vector<size_t> order_;
};

}  // namespace tiqora::ui
