#include "app/vandrel_dlg.h"

#include "app/single_instance.h"
#include "features/it_ticket/pending_resend.h"
#include "forms/about/about_dlg.h"
#include "forms/feedback/feedback_dlg.h"
#include "forms/it_ticket/system_admin_dlg.h"
#include "forms/reply_popup/popup_dlg.h"
#include "forms/support_request/request_form.h"
#include "resource.h"
#include "win/ticket_log.h"
#include "win/wide_text.h"

namespace tiqora {

CVandrelDlg::CVandrelDlg(ProcessValues& values)
    : ui::CDialogSK(IDD_TIQORA_DIALOG),
      values_(values),
      icon_(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TIQORA))) {}

CVandrelDlg::~CVandrelDlg() = default;

BOOL CVandrelDlg::OnInitDialog() {
    addAboutMenuItem();
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));

    tail_ = fromUtf8(tiqora::commandLineTail(toUtf8(GetCommandLineW())));
    if (!takeSingleInstanceGuard()) {
        ui::Dialog::EndProcess();
        return TRUE;
    }
    loadProcessValues();
    dispatch(modeForTail(toUtf8(tail_)));
    return TRUE;
}

void CVandrelDlg::addAboutMenuItem() {
    HMENU systemMenu = GetSystemMenu(hwnd(), FALSE);
    if (!systemMenu) return;
    wchar_t text[128] = {};
    if (LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUTBOX, text, static_cast<int>(std::size(text))) <= 0) return;
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, text);
}

bool CVandrelDlg::takeSingleInstanceGuard() {
    const std::string tail = toUtf8(tail_);
    const std::string name = guardMutexName(tail);
    if (name.empty()) return true;  // a tail no guard covers
    switch (takeNamedGuard(fromUtf8(name))) {
    case GuardResult::AlreadyRunning:
        // A form of the program is open: it comes to the front instead.
        if (guardKindForTail(tail) == GuardKind::Shared) raiseGuardHolder();
        return false;
    case GuardResult::Acquired:
        if (guardKindForTail(tail) == GuardKind::Shared) markGuardHolder(hwnd());
        break;
    case GuardResult::Unavailable:
        break;
    }

    if (guardKindForTail(tail) != GuardKind::Reply) return true;
    if (auto chat = findWindowTitled(fromUtf8(chatWindowMarker(tail)))) {
        writeTicketLog("Admin already chatting");
        writeTicketLog(toAnsi(*chat));
        return false;
    }
    return true;
}

void CVandrelDlg::loadProcessValues() {
    values_.folders = productFolders();
    values_.flags = readKrlmFlags(values_.folders.productData);
    values_.transportLibraryPath = transportLibraryPathIn(installFolder());
    values_.startupTransport = loadTransportLibrary(values_.transportLibraryPath);
}

void CVandrelDlg::dispatch(Mode mode) {
    switch (mode) {
    case Mode::Feedback: {
        // The feedback's one message box: every message of a feedback
        // submission is shown by running it again.
        ui::MessageDlg messageBox;
        Feedback feedback(messageBox);
        feedback.DoModal(hwnd());
        EndDialog(0);
        return;
    }
    case Mode::ItTicket: {
        values_.showMainWindow = false;
        CSystemAdminDlg ticketForm(values_);
        ticketForm.DoModal(hwnd());
        EndDialog(0);
        return;
    }
    case Mode::ReplyLan:
    case Mode::ReplyWeb: {
        values_.showMainWindow = false;
        CpopUp popup(tail_);
        popup.DoModal(hwnd());
        EndDialog(0);
        return;
    }
    case Mode::PendingResend:
        // Nothing is shown in this mode: the pending tickets are sent again
        // and the process ends.
        resendPendingTickets(values_);
        EndDialog(0);
        return;
    case Mode::SupportRequest:
        setUpRequestForm();
        return;
    }
}

void CVandrelDlg::setUpRequestForm() {
    // The request form loads the library from the suite folder named in
    // QXPath.ini rather than from the install folder.
    requestForm_ = std::make_unique<RequestForm>(*this, values_.folders, readQxPath(values_.folders.productData));
    requestForm_->setUp();
}

bool CVandrelDlg::PreTranslateMessage(MSG& message) {
    // Escape never closes the main form.
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) return true;
    return ui::CDialogSK::PreTranslateMessage(message);
}

bool CVandrelDlg::OnCommand(int id, int code, HWND control) {
    if (requestForm_ && requestForm_->onCommand(id, code)) return true;
    return ui::CDialogSK::OnCommand(id, code, control);
}

void CVandrelDlg::OnOK() {
    // Return raises IDOK: in the request form it submits, and it never ends
    // the main dialog.
    if (requestForm_) requestForm_->submit();
}

void CVandrelDlg::paintMinimisedIcon() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd(), &paint);
    SendMessageW(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(hwnd(), &client);
    const int cx = GetSystemMetrics(SM_CXICON);
    const int cy = GetSystemMetrics(SM_CYICON);
    DrawIcon(dc, (client.right - client.left - cx + 1) / 2, (client.bottom - client.top - cy + 1) / 2, icon_);
    EndPaint(hwnd(), &paint);
}

HBRUSH CVandrelDlg::OnCtlColor(UINT message, HDC dc, HWND control) {
    if (!requestForm_ || (message != WM_CTLCOLORSTATIC && message != WM_CTLCOLOREDIT)) return nullptr;
    return requestForm_->onColour(message, dc, control);
}

INT_PTR CVandrelDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    switch (message) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
            CAboutDlg about;
            about.DoModal(hwnd());
            handled = true;
        }
        return FALSE;
    case WM_PAINT:
        if (IsIconic(hwnd())) {
            paintMinimisedIcon();
            handled = true;
        }
        return FALSE;
    case WM_QUERYDRAGICON:
        handled = true;
        return reinterpret_cast<INT_PTR>(icon_);
    case WM_WINDOWPOSCHANGING:
        // In the IT ticket and reply modes the main dialog exists but must
        // never become visible: strip any show request.
        if (!values_.showMainWindow) reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
        return FALSE;
    case WM_DESTROY:
        unmarkGuardHolder(hwnd());
        return ui::CDialogSK::OnMessage(message, wParam, lParam, handled);
    default:
        return ui::CDialogSK::OnMessage(message, wParam, lParam, handled);
    }
}

}  // namespace tiqora
