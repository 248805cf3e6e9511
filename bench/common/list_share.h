// The list's own share of opening a history, under Wine: in a dialog made
// from the history's own template, once it is shown,
//   - virtual: the rows handed to the template's virtual list
//     (CSortListCtrl::SetRows) and the list's first paint;
//   - row by row: the same rows inserted one by one, texts and all, into a
//     plain report list of the same place and styles with redraw off (the way
//     the histories filled their lists before), and its first paint.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "ui/dialog.h"
#include "ui/sort_list.h"

namespace tiqora::bench {

// Row after row, column-count texts each (as CSortListCtrl::SetRows takes them).
using ListRows = std::vector<std::wstring>;

class ListShareDialog : public ui::Dialog {
public:
    ListShareDialog(int templateId, int listId, const wchar_t* columns, const ListRows& rows, bool rowByRow)
        : ui::Dialog(templateId), listId_(listId), columns_(columns), rows_(rows), rowByRow_(rowByRow) {}

    double milliseconds = 0;

protected:
    static constexpr UINT kMeasure = WM_APP + 41;

    BOOL OnInitDialog() override {
        list_.AttachList(hwnd(), listId_);
        ListView_SetExtendedListViewStyle(list_.hwnd(), LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
        list_.DefineColumns(columns_);
        PostMessageW(hwnd(), kMeasure, 0, 0);  // once the dialog is shown
        return FALSE;
    }

    INT_PTR OnMessage(UINT message, WPARAM, LPARAM, bool& handled) override {
        if (message != kMeasure) return 0;
        handled = true;
        UpdateWindow(hwnd());
        // The dialogs hand over rows they made for the list: the copy is not
        // the list's share.
        ListRows cells = rowByRow_ ? ListRows() : rows_;
        const auto start = std::chrono::steady_clock::now();
        if (rowByRow_) fillRowByRow();
        else {
            list_.SetRows(std::move(cells));
            UpdateWindow(list_.hwnd());
        }
        milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        EndDialog(IDOK);
        return 0;
    }

private:
    void fillRowByRow() {
        RECT place;
        GetWindowRect(list_.hwnd(), &place);
        MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&place), 2);
        const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(list_.hwnd(), GWL_STYLE)) & ~DWORD{LVS_OWNERDATA};
        ShowWindow(list_.hwnd(), SW_HIDE);
        HWND plain = CreateWindowExW(0, WC_LISTVIEWW, L"", style, place.left, place.top, place.right - place.left,
                                     place.bottom - place.top, hwnd(), nullptr, nullptr, nullptr);
        ListView_SetExtendedListViewStyle(plain, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
        for (int c = 0; c < list_.columnCount(); ++c) {
            LVCOLUMNW column{};
            column.mask = LVCF_WIDTH;
            column.cx = 80;
            ListView_InsertColumn(plain, c, &column);
        }
        SendMessageW(plain, WM_SETREDRAW, FALSE, 0);
        const size_t columns = static_cast<size_t>(list_.columnCount());
        for (size_t first = 0; first + columns <= rows_.size(); first += columns) {
            LVITEMW item{};
            item.mask = LVIF_TEXT | LVIF_PARAM;
            item.iItem = ListView_GetItemCount(plain);
            item.pszText = const_cast<wchar_t*>(rows_[first].c_str());
            const int index = ListView_InsertItem(plain, &item);
            for (size_t c = 1; c < columns; ++c)
                ListView_SetItemText(plain, index, static_cast<int>(c), const_cast<wchar_t*>(rows_[first + c].c_str()));
        }
        SendMessageW(plain, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(plain, nullptr, TRUE);
        UpdateWindow(plain);
    }

    int listId_;
    const wchar_t* columns_;
    const ListRows& rows_;
    bool rowByRow_;
    ui::CSortListCtrl list_;
};

inline double listShareMilliseconds(int templateId, int listId, const wchar_t* columns, const ListRows& rows,
                                    bool rowByRow) {
    ListShareDialog dialog(templateId, listId, columns, rows, rowByRow);
    dialog.DoModal();
    return dialog.milliseconds;
}

}  // namespace tiqora::bench
