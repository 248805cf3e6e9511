// CSortListCtrl: the report list of the two history dialogs. It defines its
// columns from one specification string, keeps its own copy of every row's
// texts (the row record, which sorting compares), sorts on a heading click
// (numbers, day/month/year dates, text) and paints rows in alternating
// shades, green or red by the status word in the fifth column.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
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
    // Appends a row of column-count texts (missing ones are empty, extra ones
    // ignored); returns its index, or -1.
    int AppendRow(const std::vector<std::wstring>& texts);
    // Frees every row record and deletes all rows.
    void ClearRows();
    void SortByColumn(int column, bool ascending);

    int columnCount() const { return columnCount_; }
    int sortColumn() const { return sortColumn_; }
    bool sortAscending() const { return sortAscending_; }

    // Row records alive in the whole process (for leak checks).
    static size_t liveRowRecords();

    // Turns redraw off while many rows are appended (a fill with redraw on is
    // some hundred times slower), and back on, with one repaint, at the end.
    class BulkAppend {
    public:
        explicit BulkAppend(CSortListCtrl& list);
        ~BulkAppend();
        BulkAppend(const BulkAppend&) = delete;
        BulkAppend& operator=(const BulkAppend&) = delete;

    private:
        HWND list_;
    };

protected:
    bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct RowRecord;
    static int CALLBACK compareRows(LPARAM first, LPARAM second, LPARAM list);
    LRESULT customDraw(NMLVCUSTOMDRAW& draw);

    CSortHeaderCtrl header_;
    int columnCount_ = 0;
    int sortColumn_ = -1;
    bool sortAscending_ = true;
    std::vector<std::unique_ptr<RowRecord>> records_;
};

}  // namespace tiqora::ui
