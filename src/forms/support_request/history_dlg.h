// HistoryDlg: the list of this machine's earlier support requests, read from
// the request history file. It only reads.
#pragma once

#include <string>
#include <vector>

#include "ui/dialog_sk.h"
#include "ui/hover_btn.h"
#include "ui/sort_list.h"

namespace tiqora {

class HistoryDlg : public ui::CDialogSK {
public:
    explicit HistoryDlg(std::wstring historyFile);

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(int id, const NMHDR& header, LRESULT& result) override;

private:
    void loadRows();

    std::wstring historyFile_;
    ui::CSortListCtrl list_;
    ui::CHoverBtn closeButton_;
};

}  // namespace tiqora
