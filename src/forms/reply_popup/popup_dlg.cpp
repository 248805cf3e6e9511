#include "forms/reply_popup/popup_dlg.h"

#include <shellapi.h>

#include "core/reply_popup/popup_position.h"
#include "core/ticket_history/ticket_addresses.h"
#include "features/ticket_history/ticket_pages.h"
#include "resource.h"
#include "ui/look.h"
#include "win/process_values.h"
#include "win/wide_text.h"

namespace tiqora {

namespace {

constexpr wchar_t kNotificationText[] = L"You have reply to Ticket ID : ";
constexpr UINT kBlinkPeriodMs = 1000;
// Posted by the blinking statics on their ticks; the popup ignores it.
constexpr UINT kBlinkTickMessage = 1034;
constexpr BYTE kSwissFamily = 32;  // FF_SWISS, default pitch

void startBlinking(ui::CColorStaticST& label, HWND notified) {
    label.SetBlinkBackgroundPair(RGB(128, 0, 0), RGB(189, 32, 35));
    label.SetBlinkTextPair(RGB(189, 32, 35), RGB(0, 0, 0));
    label.StartBackgroundBlinking(kBlinkPeriodMs);
    label.StartTextBlinking(kBlinkPeriodMs);
    label.SetBlinkNotification(notified, kBlinkTickMessage);
}

int widthOf(const RECT& rect) { return rect.right - rect.left; }
int heightOf(const RECT& rect) { return rect.bottom - rect.top; }

}  // namespace

CpopUp::CpopUp(std::wstring commandLineTail)
    : ui::CDialogSK(IDD_POPUP),
      tail_(std::move(commandLineTail)),
      icon_(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

BOOL CpopUp::OnInitDialog() {
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    SetForegroundWindow(hwnd());

    const ReplyArgument argument = replyArgumentOf(toUtf8(tail_));
    replyKind_ = argument.kind;
    ticketId_ = fromUtf8(argument.ticketId);
    ticketGuid_ = fromUtf8(argument.ticketGuid);

    banner_.Attach(hwnd(), IDC_POPUP_BANNER);
    blinker_.Attach(hwnd(), IDC_POPUP_BLINK);
    bannerFont_ = ui::verdanaFont(25, FW_NORMAL, kSwissFamily);
    boldFont_ = ui::verdanaFont(17, FW_BOLD, kSwissFamily);
    textFont_ = ui::verdanaFont(17, FW_NORMAL, kSwissFamily);
    SendMessageW(item(IDC_POPUP_BANNER), WM_SETFONT, reinterpret_cast<WPARAM>(bannerFont_.get()), TRUE);
    SendMessageW(item(IDC_POPUP_BLINK), WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), TRUE);
    SendMessageW(item(IDC_POPUP_TEXT), WM_SETFONT, reinterpret_cast<WPARAM>(textFont_.get()), TRUE);

    SetWindowTextW(item(IDC_POPUP_TEXT), (kNotificationText + ticketId_).c_str());

    LoadSkin(IDB_SKIN_POPUP);
    closeButton_.Attach(hwnd(), IDC_POPUP_CLOSE);
    closeButton_.LoadStrip(IDB_STRIP_X);
    openButton_.Attach(hwnd(), IDC_POPUP_OPEN);
    openButton_.LoadStrip(IDB_STRIP_OPEN_TICKET);

    startBlinking(blinker_, hwnd());
    startBlinking(banner_, hwnd());

    placeAboveTaskbar();
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    const ProductFolders folders = productFolders();
    productDataFolder_ = folders.productData;
    ticketIni_ = folders.ticketIni;
    return TRUE;
}

void CpopUp::placeAboveTaskbar() {
    GetWindowRect(hwnd(), &windowRect_);
    RECT taskbar{};
    if (HWND tray = FindWindowW(L"Shell_traywnd", nullptr)) GetWindowRect(tray, &taskbar);
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);

    // The record size is the platform's own: a 64-bit shell refuses the
    // 32-bit record.
    APPBARDATA bar{};
    bar.cbSize = sizeof(APPBARDATA);
    if (!SHAppBarMessage(ABM_GETTASKBARPOS, &bar)) return;

    const PopupGeometry geometry{widthOf(windowRect_), heightOf(windowRect_), widthOf(taskbar), heightOf(taskbar),
                                 desktop.right,        desktop.bottom};
    const auto point = popupPosition(bar.uEdge, geometry);
    if (!point) return;
    MoveWindow(hwnd(), point->x, point->y, geometry.width, geometry.height, TRUE);
}

bool CpopUp::OnCommand(int id, int code, HWND control) {
    if (id == IDC_POPUP_CLOSE) {
        EndProcess();
        return true;
    }
    if (id == IDC_POPUP_OPEN) {
        // The page opens (or the log says why not) and the program ends.
        openReplyTicketPage(replyKind_, ticketGuid_, productDataFolder_);
        EndProcess();
        return true;
    }
    return ui::CDialogSK::OnCommand(id, code, control);
}

INT_PTR CpopUp::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    if (message == kBlinkTickMessage) {
        handled = true;
        return 0;
    }
    return ui::CDialogSK::OnMessage(message, wParam, lParam, handled);
}

HBRUSH CpopUp::OnCtlColor(UINT message, HDC dc, HWND) {
    if (message != WM_CTLCOLORSTATIC && message != WM_CTLCOLORBTN && message != WM_CTLCOLORDLG) return nullptr;
    // White under every control; the blinking statics answer for themselves
    // before this is reached.
    SetBkColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    return ui::whiteBrush();
}

}  // namespace tiqora
