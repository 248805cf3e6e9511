// The reply notification popup (template 193), run by the "/SAReply=L" and
// "/SAReply=C" modes while the main dialog stays hidden: a small topmost
// notice above the taskbar telling the employee that the administrator
// answered a ticket, with a blinking "New Message" banner. Its open button
// opens the ticket's page and ends the process; its close button ends the
// process without opening anything.
#pragma once

#include <string>

#include "core/reply_popup/reply_argument.h"
#include "ui/color_static.h"
#include "ui/dialog_sk.h"
#include "ui/hover_btn.h"
#include "win/gdi.h"

namespace tiqora {

class CpopUp : public ui::CDialogSK {
public:
    explicit CpopUp(std::wstring commandLineTail);

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    HBRUSH OnCtlColor(UINT message, HDC dc, HWND control) override;

private:
    // Moves the window above the taskbar, by the edge the shell reports.
    void placeAboveTaskbar();

    std::wstring tail_;
    ReplyKind replyKind_ = ReplyKind::None;
    std::wstring ticketId_;
    std::wstring ticketGuid_;
    std::wstring productDataFolder_;
    std::wstring ticketIni_;

    HICON icon_;
    ui::Font bannerFont_;
    ui::Font boldFont_;
    ui::Font textFont_;
    ui::CColorStaticST banner_;
    ui::CColorStaticST blinker_;
    ui::CHoverBtn openButton_;
    ui::CHoverBtn closeButton_;
    RECT windowRect_{};
};

}  // namespace tiqora
