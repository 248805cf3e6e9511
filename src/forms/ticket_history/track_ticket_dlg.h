// TrackTicketDlg: the ticket history (template 166), run modally by the IT
// ticket form. It lists the tickets this machine delivered, read from the
// record files of the sent folder (only those whose GUID Tiqora.ini knows,
// of the kind the delivery flags choose), shows the selected one in its
// detail panel and opens its page on the LAN server or the web console. It
// asks no server and writes nothing but the IT ticket log.
#pragma once

#include <string>
#include <vector>

#include "core/ticket_history/ticket_history.h"
#include "features/ticket_history/ticket_pages.h"
#include "ui/dialog_sk.h"
#include "ui/hover_btn.h"
#include "ui/sort_list.h"
#include "win/config_sources.h"
#include "win/gdi.h"

namespace tiqora {

// What the history keeps for the whole process: the row last clicked and the
// values of the ticket shown (they outlive the dialog and stay when it is
// opened again).
struct TicketSelection {
    int rowIndex = 0;  // -1 when the list had no selection mark at the last click
    std::wstring ticketId, issueTitle, description, status, priority;
};
const TicketSelection& ticketSelection();

class TrackTicketDlg : public ui::CDialogSK {
public:
    // `sentFolder`: IT ticket folder\S; `pages.ticketIni`: IT ticket
    // folder\Tiqora.ini.
    TrackTicketDlg(KrlmFlags flags, std::wstring sentFolder, HistoryPageContext pages);

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(int id, const NMHDR& header, LRESULT& result) override;
    HBRUSH OnCtlColor(UINT message, HDC dc, HWND control) override;

private:
    // What the delivery flags list and open.
    HistoryChoice choice() const;
    void fillList();
    void takeRow(int row);
    void showSelection(bool withStatus);
    // A click on the list: `clickedRow` is the row under the pointer, -1
    // below the rows (nothing happens then).
    void onRowClick(int clickedRow);

    KrlmFlags flags_;
    std::wstring sentFolder_;
    HistoryPageContext pages_;
    // The GUID of each row, by its serial number (SrNo. - 1): rows move when
    // the list is sorted, their serial numbers do not.
    std::vector<std::wstring> guids_;
    int serial_ = 0;

    ui::CSortListCtrl list_;
    ui::CHoverBtn closeButton_;
    ui::Font font_;
};

}  // namespace tiqora
