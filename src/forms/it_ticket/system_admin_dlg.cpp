#include "forms/it_ticket/system_admin_dlg.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "core/it_ticket/screenshot_names.h"
#include "core/it_ticket/ticket_rules.h"
#include "core/text/trim.h"
#include "features/it_ticket/screen_capture.h"
#include "features/it_ticket/ticket_delivery.h"
#include "forms/ticket_history/track_ticket_dlg.h"
#include "resource.h"
#include "ui/look.h"
#include "ui/message_dlg.h"
#include "ui/scaled_pictures.h"
#include "ui/window_text.h"
#include "win/config_sources.h"
#include "win/machine_identity.h"
#include "win/screen_settle.h"
#include "win/ticket_log.h"
#include "win/wide_text.h"

namespace tiqora {

namespace {

constexpr int kDescriptionLimit = 500;
constexpr int kMobileLimit = 12;
constexpr int kMobileMinChars = 10;

// The longest the screenshot waits for the hidden form to leave the screen.
constexpr DWORD kLeaveScreenBoundMs = 1000;
// What the form reads from its fields, in characters.
constexpr size_t kUserNameMaxChars = 255;
constexpr size_t kContactFieldMaxChars = 259;
constexpr size_t kContactValueChars = 520;

// The customer whose issue list has no "PC Issue", and the one whose tickets
// carry a mobile number and an e-mail address.
constexpr wchar_t kNoPcIssueCustomer[] = L"QRS-T1001";
constexpr wchar_t kContactCustomer[] = L"QRS-T2002";
constexpr char kContactCustomerLine[] = " QRS-T2002 Quorra Retail Systems";

const wchar_t* const kIssueTitles[] = {L"Network Issue", L"Software Issue", L"Hardware Issue", L"Other Issue"};
const wchar_t* const kPriorities[] = {L"High", L"Medium", L"Low"};

// Labels and fields in the large form font.
constexpr int kTextFontControls[] = {
    IDC_TICKET_HOST_LABEL,  IDC_TICKET_ISSUE_LABEL,     IDC_TICKET_PRIORITY_LABEL, IDC_TICKET_KEY_LABEL,
    IDC_TICKET_DESC_LABEL,  IDC_TICKET_LICENCE,         IDC_TICKET_PRIORITY_MARK,  IDC_TICKET_DESC_MARK,
    IDC_TICKET_EMAIL_LABEL, IDC_TICKET_CONTACT_LABEL,   IDC_TICKET_CORP_LABEL,     IDC_TICKET_CORP_ID,
    IDC_TICKET_SCREENSHOT_LINK, IDC_TICKET_HISTORY_LINK, IDC_TICKET_MODE,          IDC_TICKET_USER_NAME,
    IDC_TICKET_ISSUE,       IDC_TICKET_PRIORITY,        IDC_TICKET_MOBILE,         IDC_TICKET_EMAIL,
};

// Red on white: the "*" marks and the note under the form.
bool isMandatoryMark(int id) {
    return id == IDC_TICKET_NOTE || id == IDC_TICKET_PRIORITY_MARK || id == IDC_TICKET_DESC_MARK;
}

bool showsHandCursor(int id) {
    return id == IDC_TICKET_SCREENSHOT || id == IDC_TICKET_HISTORY || id == IDC_TICKET_SUBMIT ||
           id == IDC_TICKET_CANCEL;
}

std::wstring firstChars(std::wstring text, size_t count) {
    if (text.size() > count) text.resize(count);
    return text;
}

std::wstring withoutTrailingBlanks(const std::wstring& text) {
    return std::wstring(trimmedEnd(std::wstring_view(text), [](wchar_t c) { return c == L' '; }));
}

}  // namespace

CSystemAdminDlg::CSystemAdminDlg(ProcessValues& values) : ui::CDialogSK(IDD_SYSTEM_ADMIN), values_(values) {}

BOOL CSystemAdminDlg::OnInitDialog() {
    SetProcessDPIAware();
    // To the top of the Z order (BringWindowToTop costs Wine a round trip to
    // the X server of about 15 ms before the form is even shown).
    SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    SendMessageW(item(IDC_TICKET_DESCRIPTION), EM_SETLIMITTEXT, kDescriptionLimit, 0);
    contactRequired_ = false;
    SetWindowTextW(item(IDC_TICKET_COUNTER), L"0/500");

    resetTicketLogIfOversized();
    writeTicketLog("------------------------START---------------------------------");

    setUpLook();
    loadSuiteLibraries();
    if (!showDeliveryMode()) {
        // A LAN mode without a usable LAN server: the form never shows.
        EndProcess();
        return FALSE;
    }

    adminTicketIni_ = values_.folders.productData + L"\\DPX_AdminTicket.ini";
    fillIssueTitles();
    createTicketFolders();
    readIdentity();
    fillPriorities();
    if (corporateId_.find(kNoPcIssueCustomer) == std::wstring::npos)
        SendMessageW(item(IDC_TICKET_ISSUE), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"PC Issue"));
    if (corporateId_.find(kContactCustomer) != std::wstring::npos) {
        setUpContactFields();
    } else {
        hideContactFields();
    }
    return TRUE;
}

void CSystemAdminDlg::setUpLook() {
    // The screenshot and the ticket history are reached from their links; their
    // buttons stay hidden (the screenshot's still takes a picture when clicked).
    for (int id : {IDC_TICKET_HISTORY, IDC_TICKET_SCREENSHOT})
        ShowWindow(item(id), SW_HIDE);
    SetWindowTextW(hwnd(), L"IT TICKET");
    icon_ = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TIQORA));
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    LoadSkin(IDB_SKIN_TICKET);
    fieldIcons_ = ui::scaleStaticPictures(hwnd());
    const std::pair<ui::CHoverBtn*, std::pair<int, int>> buttons[] = {
        {&screenshotButton_, {IDC_TICKET_SCREENSHOT, IDB_STRIP_SCREENSHOT}},
        {&historyButton_, {IDC_TICKET_HISTORY, IDB_STRIP_HISTORY}},
        {&submitButton_, {IDC_TICKET_SUBMIT, IDB_STRIP_SUBMIT}},
        {&cancelButton_, {IDC_TICKET_CANCEL, IDB_STRIP_CANCEL}},
        {&closeButton_, {IDC_TICKET_X, IDB_STRIP_CLOSE}},
    };
    for (const auto& [button, ids] : buttons) {
        button->Attach(hwnd(), ids.first);
        button->LoadStrip(ids.second);
    }
    handCursor_ = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_CURSOR));

    textFont_ = ui::verdanaFont(15);
    noteFont_ = ui::verdanaFont(13);
    for (int id : kTextFontControls)
        SendMessageW(item(id), WM_SETFONT, reinterpret_cast<WPARAM>(textFont_.get()), FALSE);
    SendMessageW(item(IDC_TICKET_NOTE), WM_SETFONT, reinterpret_cast<WPARAM>(noteFont_.get()), FALSE);
}

void CSystemAdminDlg::loadSuiteLibraries() {
    TransportLibrary& transport = values_.startupTransport;
    if (!transport.loaded()) transport = loadTransportLibrary(values_.transportLibraryPath);
    sendWebdata4_ = transport.module.find<SendWebdata4Fn>("SendWebdata4");
    sendLocalData_ = transport.module.find<SendLocalDataFn>("SendLocalData");
    writeTicketLog("WBX is Load ");

    intranetPolicy_ = SuiteModule::load(intranetPolicyLibraryPathIn(installFolder()));
    if (!intranetPolicy_) {
        writeTicketLog("Failed to load DPXIntraPol.dll");
        return;
    }
    receiveClientReports_ = intranetPolicy_.find<ReceiveClientReportsFn>("ReceiveClientReports");
}

bool CSystemAdminDlg::showDeliveryMode() {
    const KrlmFlags& flags = values_.flags;
    HWND label = item(IDC_TICKET_MODE);
    if (!flags.itTicketServer.empty()) {
        if (flags.itTicketServer == L"L") {
            writeTicketLog("ITTicketServer flag L Strict LAN Mode");
            if (!resolveLanServer()) return false;
            SetWindowTextW(label, L"LAN");
        }
        if (flags.itTicketServer == L"W") {
            writeTicketLog("ITTicketServer flag W Strict WEB Mode");
            SetWindowTextW(label, L"WEB");
        }
        return true;
    }
    if (flags.sendLocalRpt == L"ON") {
        writeTicketLog("Call to GetUrl Function");
        if (!resolveLanServer()) return false;
        SetWindowTextW(label, L"LAN");
    } else if (flags.sendWebRpt == L"ON") {
        writeTicketLog("SendWebRpt=ON Strict WEB Mode");
        SetWindowTextW(label, L"WEB");
    }
    return true;
}

bool CSystemAdminDlg::resolveLanServer() {
    std::optional<LanServerAddress> address = GetUrl(lanUrl_, values_.folders.productData);
    if (!address) return false;
    lanAddress_ = std::move(*address);
    return true;
}

void CSystemAdminDlg::fillIssueTitles() {
    HWND issue = item(IDC_TICKET_ISSUE);
    SetWindowTextW(issue, L"Select Issue Type");
    for (const wchar_t* title : kIssueTitles) SendMessageW(issue, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title));
    SendMessageW(issue, CB_SETCURSEL, 0, 0);
}

void CSystemAdminDlg::fillPriorities() {
    HWND priority = item(IDC_TICKET_PRIORITY);
    SetWindowTextW(priority, L"Select Priority");
    for (const wchar_t* level : kPriorities) SendMessageW(priority, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(level));
    SendMessageW(priority, CB_SETCURSEL, 1, 0);
}

void CSystemAdminDlg::createTicketFolders() {
    // An existing folder is no error; one that cannot be made shows later,
    // when the ticket's record cannot be written.
    for (const std::wstring& folder : {values_.folders.itTicket, values_.folders.sent,
                                       values_.folders.pending})
        CreateDirectoryW(folder.c_str(), nullptr);
}

void CSystemAdminDlg::readIdentity() {
    licenceCode_ = withoutTrailingBlanks(
        readRegistryString(registry_order::kTicketFormLicence, L"LicenseCode", kRegistryBufferBytes));
    SetWindowTextW(item(IDC_TICKET_LICENCE), licenceCode_.c_str());

    SetWindowTextW(item(IDC_TICKET_USER_NAME), logonUserName().c_str());
    corporateId_ = readRegistryString(registry_order::kCorporateId, L"CorporateID", kRegistryBufferBytes);
    SetWindowTextW(item(IDC_TICKET_CORP_ID), corporateId_.c_str());
}

void CSystemAdminDlg::setUpContactFields() {
    SendMessageW(item(IDC_TICKET_MOBILE), EM_SETLIMITTEXT, kMobileLimit, 0);
    contactRequired_ = true;
    ticketIni_ = values_.folders.ticketIni;
    mobile_ = readIniString(ticketIni_, L"contact", L"Mobile", L"", kContactValueChars);
    email_ = readIniString(ticketIni_, L"contact", L"Email", L"", kContactValueChars);
    SetWindowTextW(item(IDC_TICKET_MOBILE), mobile_.c_str());
    SetWindowTextW(item(IDC_TICKET_EMAIL), email_.c_str());
    writeTicketLog(kContactCustomerLine);
}

void CSystemAdminDlg::hideContactFields() {
    // Everything below the contact rows moves up into their place, placed
    // from where the e-mail label stood.
    RECT anchor;
    GetWindowRect(item(IDC_TICKET_EMAIL_LABEL), &anchor);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&anchor), 2);
    const int left = anchor.left;
    const int top = anchor.top;

    for (int id : {IDC_TICKET_EMAIL_ICON, IDC_TICKET_EMAIL_LABEL, IDC_TICKET_EMAIL, IDC_TICKET_CONTACT_LABEL,
                   IDC_TICKET_MOBILE, IDC_TICKET_CONTACT_ICON})
        ShowWindow(item(id), SW_HIDE);
    // The offsets are those of the form at 96 DPI; at a larger DPI they grow
    // with the controls, so that nothing lands on another.
    const int dpi = ui::systemDpi();
    const auto px = [dpi](int at96) { return MulDiv(at96, dpi, 96); };
    const struct {
        int id;
        int x;
        int y;
    } moves[] = {
        {IDC_TICKET_DESC_LABEL, left - px(45), top + px(5)},
        {IDC_TICKET_DESC_MARK, left - px(55), top},
        {IDC_TICKET_COUNTER, left + px(150), top + px(5)},
        {IDC_TICKET_DESCRIPTION, left - px(55), top + px(30)},
        {IDC_TICKET_SCREENSHOT_LINK, left - px(45), top + px(205)},
        {IDC_TICKET_HISTORY_LINK, left + px(45), top + px(205)},
        {IDC_TICKET_SUBMIT, left + px(140), top + px(200)},
        {IDC_TICKET_CANCEL, left + px(230), top + px(200)},
    };
    const auto sizeOf = [this](int id) {
        RECT r;
        GetWindowRect(item(id), &r);
        return SIZE{r.right - r.left, r.bottom - r.top};
    };
    // Where a moved control would reach into the next one on its line, it
    // ends a little before it (the links are wider than their texts).
    const auto widthBefore = [&](int id, int x, int nextX) {
        return std::min<int>(sizeOf(id).cx, nextX - x - px(4));
    };
    // One batch: the controls move together and the form is repainted once.
    HDWP batch = BeginDeferWindowPos(static_cast<int>(std::size(moves)));
    for (size_t i = 0; i < std::size(moves); ++i) {
        const auto& move = moves[i];
        SIZE size = sizeOf(move.id);
        if (move.id == IDC_TICKET_DESCRIPTION) size.cy += px(40);  // the room the contact rows left
        if (move.id == IDC_TICKET_SCREENSHOT_LINK || move.id == IDC_TICKET_HISTORY_LINK)
            size.cx = widthBefore(move.id, move.x, moves[i + 1].x);
        const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        HDWP next = batch ? DeferWindowPos(batch, item(move.id), nullptr, move.x, move.y, size.cx, size.cy, flags)
                          : nullptr;
        // Without a batch (out of memory) each control moves on its own.
        if (!next) SetWindowPos(item(move.id), nullptr, move.x, move.y, size.cx, size.cy, flags);
        batch = next;
    }
    if (batch) EndDeferWindowPos(batch);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void CSystemAdminDlg::updateCounter() {
    const int length = GetWindowTextLengthW(item(IDC_TICKET_DESCRIPTION));
    SetWindowTextW(item(IDC_TICKET_COUNTER), (std::to_wstring(length) + L"/500").c_str());
}

bool CSystemAdminDlg::OnCommand(int id, int code, HWND control) {
    switch (id) {
    case IDC_TICKET_SUBMIT:
        if (code == BN_CLICKED) submit();
        return true;
    case IDC_TICKET_SCREENSHOT:
        if (code == BN_CLICKED) takeScreenshot(false);
        return true;
    case IDC_TICKET_CANCEL:
        EndProcess();
        return true;
    case IDC_TICKET_X:
        values_.startupTransport.unload();
        EndProcess();
        return true;
    case IDC_TICKET_DESCRIPTION:
        if (code == EN_CHANGE) updateCounter();
        return true;
    case IDC_TICKET_HISTORY:
        if (code == BN_CLICKED) runTicketHistory();
        return true;
    default:
        return ui::CDialogSK::OnCommand(id, code, control);
    }
}

void CSystemAdminDlg::runTicketHistory() {
    HistoryPageContext pages;
    pages.ticketIni = values_.folders.ticketIni;
    pages.lanHost = lanAddress_.host;
    pages.lanPortText = lanAddress_.portText;
    pages.corporateId = corporateId_;
    pages.webConsole = readVendorHosts(installFolder()).webConsole;
    TrackTicketDlg history(values_.flags, values_.folders.sent, std::move(pages));
    history.DoModal(hwnd());
}

void CSystemAdminDlg::takeScreenshot(bool openAfter) {
    // A click queued while the form was hidden or the confirmation up would
    // otherwise start a second capture inside this one.
    if (submitting_ || capturing_) return;
    capturing_ = true;
    HWND button = item(IDC_TICKET_SCREENSHOT);
    EnableWindow(button, FALSE);
    RECT formerArea{};
    GetWindowRect(hwnd(), &formerArea);
    ShowWindow(hwnd(), SW_HIDE);
    // The picture must not show the form: it is taken once the form has left
    // the screen, or after a second at the most (the time it always waited
    // before, when the windows beneath are slower than that).
    waitUntilLeftScreen(formerArea, kLeaveScreenBoundMs);
    const bool saved = captureScreenShot();
    ShowWindow(hwnd(), SW_SHOW);
    // A picture that could not be written is said so, and nothing claims
    // there is one to send or to open.
    ui::ShowMessage(saved ? 1 : 0, saved ? L"ScreenShot Taken....!" : L"ScreenShot could not be saved..!", FALSE);
    EnableWindow(button, TRUE);
    capturing_ = false;
    if (!saved) return;
    screenshotFlag_ = true;
    if (openAfter) ShellExecuteW(nullptr, L"open", screenshotPath_.c_str(), nullptr, nullptr, SW_SHOW);
}

bool CSystemAdminDlg::captureScreenShot() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::string path =
        screenshotPath(toUtf8(licenceCode_), now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
    // The name holds the time to the second: a picture taken in the second
    // of the one before would overwrite it (which may be open in a viewer),
    // so it waits for the next second. (At most twice: a clock set back
    // makes no endless wait.)
    for (int tries = 0; tries < 2 && !screenshotPath_.empty() && fromUtf8(path) == screenshotPath_; ++tries) {
        Sleep(1000 - std::min<DWORD>(now.wMilliseconds, 999));
        GetLocalTime(&now);
        path = screenshotPath(toUtf8(licenceCode_), now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                              now.wSecond);
    }
    const std::wstring widePath = fromUtf8(path);
    // A licence code that cannot stand in a file name would write elsewhere
    // (another folder, a stream of another file) or nowhere.
    if (!isWritableScreenshotPath(path)) {
        writeTicketLog("Screenshot not saved, the licence code cannot stand in a file name: " + toAnsi(widePath));
        return false;
    }
    if (captureScreenTo(widePath) != S_OK) {
        writeTicketLog("Screenshot not saved: " + toAnsi(widePath));
        return false;
    }
    // Only a saved picture replaces the one taken before: a failed retake
    // leaves the earlier picture as the one the ticket carries.
    screenshotPath_ = widePath;
    return true;
}

void CSystemAdminDlg::OnOK() { submit(); }

void CSystemAdminDlg::OnCancel() { EndProcess(); }

void CSystemAdminDlg::submit() {
    if (submitting_ || capturing_) return;
    submitting_ = true;
    EnableWindow(item(IDC_TICKET_SUBMIT), FALSE);
    RedrawWindow(item(IDC_TICKET_SUBMIT), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    if (!validateAndSend()) {
        EnableWindow(item(IDC_TICKET_SUBMIT), TRUE);
        submitting_ = false;
    }
}

bool CSystemAdminDlg::takeContactValues() {
    if (mobile_.empty()) {
        std::wstring typed = firstChars(ui::windowText(item(IDC_TICKET_MOBILE)), kContactFieldMaxChars);
        if (typed.size() < kMobileMinChars) {
            ui::ShowMessage(0, L"Please enter valid Mobile Number..!", FALSE);
            return false;
        }
        if (!writeIniStringExactly(ticketIni_, L"contact", L"Mobile", typed))
            writeTicketLog("Mobile number not stored, Tiqora.ini cannot hold its characters");
        mobile_ = std::move(typed);
    }
    if (email_.empty()) {
        std::wstring typed = firstChars(ui::windowText(item(IDC_TICKET_EMAIL)), kContactFieldMaxChars);
        if (!isValidTicketEmail(toUtf8(typed))) {
            ui::ShowMessage(0, L"Please enter valid Email ID..!", FALSE);
            return false;
        }
        if (!writeIniStringExactly(ticketIni_, L"contact", L"Email", typed))
            writeTicketLog("Email ID not stored, Tiqora.ini cannot hold its characters");
        email_ = std::move(typed);
    }
    return true;
}

bool CSystemAdminDlg::validateAndSend() {
    const std::wstring userName = firstChars(ui::windowText(item(IDC_TICKET_USER_NAME)), kUserNameMaxChars);
    if (readAdminTicketUserName(values_.folders.productData) != userName &&
        !writeIniStringExactly(adminTicketIni_, L"Name", L"UserName", userName))
        writeTicketLog("User name not stored, DPX_AdminTicket.ini cannot hold its characters");

    TicketInput ticket;
    ticket.priorityCode = priorityCodeFor(static_cast<int>(SendMessageW(item(IDC_TICKET_PRIORITY), CB_GETCURSEL, 0, 0)));
    ticket.issueTitle = issueTitleFor(static_cast<int>(SendMessageW(item(IDC_TICKET_ISSUE), CB_GETCURSEL, 0, 0)));

    if (contactRequired_ && !takeContactValues()) return false;

    ticket.description = ticketDescription(toUtf8(ui::windowText(item(IDC_TICKET_DESCRIPTION))));
    if (ticket.description.empty()) {
        ui::ShowMessage(0, L"Please Enter the Issue Description..!", FALSE);
        SetWindowTextW(item(IDC_TICKET_DESCRIPTION), L"");
        return false;
    }

    ticket.hostName = toUtf8(fromAnsi(hostName()));
    ticket.machineIp = machineIp();

    TicketSender sender(values_);
    sender.sendWebdata4 = sendWebdata4_;
    sender.lanAddress = lanAddress_;
    sender.licenceCode = toUtf8(licenceCode_);
    sender.corporateId = toUtf8(corporateId_);
    sender.userName = toUtf8(userName);
    sender.contactRequired = contactRequired_;
    sender.mobile = toUtf8(mobile_);
    sender.email = toUtf8(email_);
    sender.hasScreenshot = screenshotFlag_;
    sender.screenshotPath = screenshotPath_;
    sender.screenshotLibraries = {receiveClientReports_, sendLocalData_};
    std::wstring ticketId;
    const int result = decideAndSend(sender, std::move(ticket), ticketId);
    reportOutcome(result, ticketId);
    return true;
}

void CSystemAdminDlg::reportOutcome(int result, const std::wstring& ticketId) {
    TransportLibrary& transport = values_.startupTransport;
    if (result == 1) {
        writeTicketLog("IT Ticket Find");
        if (transport.loaded()) {
            writeTicketLog("Free wbx.dll");
            transport.unload();
        }
        const bool lan = deliveryBranchOf(values_.flags).mode == DeliveryMode::Lan;
        const std::wstring where = lan ? L"Ticket submitted to LAN Server. " : L"Ticket Submitted to Web Server. ";
        ui::ShowMessage(1,
                        L"Thank You !!.\n" + where + L"\nYour Request has been submitted.\nTicket ID =  " + ticketId +
                            L"\nSystem Admin Team will contact you soon.\n",
                        TRUE);
        SetWindowTextW(item(IDC_TICKET_DESCRIPTION), L"");
    } else {
        if (transport.loaded()) {
            writeTicketLog("   Free wbx.dll else");
            transport.unload();
        }
        ui::ShowMessage(0, L"Ticket Submission Failed..!!", FALSE);
    }
    EndProcess();
}

HBRUSH CSystemAdminDlg::OnCtlColor(UINT message, HDC dc, HWND control) {
    if (message == WM_CTLCOLORDLG) return ui::whiteBrush();
    if (message != WM_CTLCOLORSTATIC) return nullptr;
    if (isMandatoryMark(GetDlgCtrlID(control))) {
        SetTextColor(dc, RGB(255, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
    }
    SetBkMode(dc, TRANSPARENT);
    return ui::whiteBrush();
}

bool CSystemAdminDlg::OnSetCursor(HWND window, int, UINT) {
    if (!window || !handCursor_ || !showsHandCursor(GetDlgCtrlID(window))) return false;
    SetCursor(handCursor_);
    return true;
}

bool CSystemAdminDlg::OnNotify(int id, const NMHDR& header, LRESULT&) {
    if (header.code != NM_CLICK && header.code != NM_RETURN) return false;
    if (id == IDC_TICKET_HISTORY_LINK) {
        writeTicketLog("DoModal ticket history");
        runTicketHistory();
        writeTicketLog("DoModal close");
        return true;
    }
    if (id == IDC_TICKET_SCREENSHOT_LINK) {
        takeScreenshot(true);
        return true;
    }
    return false;
}

}  // namespace tiqora
