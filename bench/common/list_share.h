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
#include <vector>

#include "ui/dialog.h"
#include "ui/sort_list.h"

namespace tiqora::bench {

using ListRows = std::vector<std::vector<std::wstring>>;

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
        const auto start = std::chrono::steady_clock::now();
        if (rowByRow_) fillRowByRow();
        else {
            list_.SetRows(rows_);
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
        for (const auto& row : rows_) {
            LVITEMW item{};
            item.mask = LVIF_TEXT | LVIF_PARAM;
            item.iItem = ListView_GetItemCount(plain);
            item.pszText = const_cast<wchar_t*>(row.empty() ? L"" : row[0].c_str());
            const int index = ListView_InsertItem(plain, &item);
            for (size_t c = 1; c < row.size(); ++c)
                ListView_SetItemText(plain, index, static_cast<int>(c), const_cast<wchar_t*>(row[c].c_str()));
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
