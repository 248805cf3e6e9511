#include "forms/feedback/feedback_dlg.h"

#include <commctrl.h>
#include <shellapi.h>

#include <utility>

#include "core/feedback/feedback_body.h"
#include "features/feedback/feedback_mail.h"
#include "resource.h"
#include "ui/look.h"
#include "ui/window_text.h"
#include "win/config_sources.h"
#include "win/feedback_log.h"
#include "win/process_values.h"
#include "win/wide_text.h"

namespace tiqora {

namespace {

constexpr int kDescriptionLimit = 256;

constexpr int kRatingStrips[5] = {IDB_RATING_1, IDB_RATING_2, IDB_RATING_3, IDB_RATING_4, IDB_RATING_5};
constexpr int kChosenStrips[5] = {IDB_RATING_1_CHOSEN, IDB_RATING_2_CHOSEN, IDB_RATING_3_CHOSEN,
                                  IDB_RATING_4_CHOSEN, IDB_RATING_5_CHOSEN};

// The issue type boxes in the order of kFeedbackIssueTypes.
constexpr int kIssueTypeBoxes[kFeedbackIssueTypeCount] = {
    IDC_FEEDBACK_SUPPORT,      IDC_FEEDBACK_SCANNING,       IDC_FEEDBACK_UPDATE,     IDC_FEEDBACK_VIRUS,
    IDC_FEEDBACK_SLOW_PC,      IDC_FEEDBACK_SOFTWARE_BLOCK, IDC_FEEDBACK_MALWARE,    IDC_FEEDBACK_POPUP,
    IDC_FEEDBACK_ERROR_SCREEN, IDC_FEEDBACK_ACTIVATION,     IDC_FEEDBACK_RENEWAL,    IDC_FEEDBACK_OTHER,
};

using ui::windowText;

void setTextIfChanged(HWND window, const std::wstring& text) {
    if (windowText(window) != text) SetWindowTextW(window, text.c_str());
}

void setShown(HWND window, bool show) {
    if ((IsWindowVisible(window) != FALSE) != show) ShowWindow(window, show ? SW_SHOW : SW_HIDE);
}

}  // namespace

Feedback::Feedback(ui::MessageDlg& messageBox) : ui::CDialogSK(IDD_FEEDBACK), messageBox_(messageBox) {}

BOOL Feedback::OnInitDialog() {
    resetFeedbackLogIfOversized();
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    textFont_ = ui::verdanaFont(14);
    wordFont_ = ui::verdanaFont(20, FW_BOLD);
    for (int id : {IDC_FEEDBACK_HEADING, IDC_FEEDBACK_DESCRIPTION_LABEL, IDC_FEEDBACK_ISSUE_TYPE_LABEL,
                   IDC_FEEDBACK_PHONE})
        SendMessageW(item(id), WM_SETFONT, reinterpret_cast<WPARAM>(textFont_.get()), TRUE);
    for (int id : {IDC_FEEDBACK_RATING_WORD, IDC_FEEDBACK_HOVER_WORD})
        SendMessageW(item(id), WM_SETFONT, reinterpret_cast<WPARAM>(wordFont_.get()), TRUE);

    SetWindowTextW(hwnd(), L"FeedBack");
    LoadSkin(IDB_SKIN_FEEDBACK);
    for (size_t i = 0; i < ratingButtons_.size(); ++i) {
        const int offset = static_cast<int>(i);
        ratingButtons_[i].Attach(hwnd(), IDC_FEEDBACK_RATING_1 + offset);
        ratingButtons_[i].LoadStrip(kRatingStrips[i]);
        chosenImages_[i].Attach(hwnd(), IDC_FEEDBACK_CHOSEN_1 + offset);
        chosenImages_[i].LoadStrip(kChosenStrips[i]);
        ShowWindow(chosenImages_[i].hwnd(), SW_HIDE);
    }
    const struct {
        ui::CHoverBtn& button;
        int id;
        int strip;
    } buttons[] = {
        {submitButton_, IDOK, IDB_STRIP_SUBMIT},
        {cancelButton_, IDCANCEL, IDB_STRIP_CANCEL},
        {closeButton_, IDC_FEEDBACK_X, IDB_STRIP_X},
        {remoteButton_, IDC_FEEDBACK_REMOTE_SUPPORT, IDB_STRIP_REMOTE},
        {whatsAppButton_, IDC_FEEDBACK_WHATSAPP, IDB_STRIP_WHATSAPP},
    };
    for (const auto& [button, id, strip] : buttons) {
        button.Attach(hwnd(), id);
        button.LoadStrip(strip);
    }

    SetWindowTextW(item(IDC_FEEDBACK_COUNTER), L"256 Characters Remaining");
    SetWindowTextW(item(IDC_FEEDBACK_RATING_WORD), L"");
    SetWindowTextW(item(IDC_FEEDBACK_HOVER_WORD), L"");
    SendMessageW(item(IDC_FEEDBACK_DESCRIPTION), EM_SETLIMITTEXT, kDescriptionLimit, 0);
    SetWindowTextW(item(IDC_FEEDBACK_PHONE), readSupportPhone(installFolder()).c_str());
    handCursor_ = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_CURSOR));

    createTooltips();
    return TRUE;
}

void Feedback::createTooltips() {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, GetModuleHandleW(nullptr),
                               nullptr);
    if (!tooltip_) return;  // the form works without tooltips
    const std::pair<int, const wchar_t*> tips[] = {
        {IDC_FEEDBACK_REMOTE_SUPPORT, L"Support"}, {IDC_FEEDBACK_X, L"Close"}, {IDC_FEEDBACK_WHATSAPP, L"WhatsApp"},
        {IDOK, L"Submit"},                         {IDCANCEL, L"Cancel"},
    };
    for (const auto& [id, text] : tips) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = hwnd();
        tool.uId = reinterpret_cast<UINT_PTR>(item(id));
        tool.lpszText = const_cast<wchar_t*>(text);
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    SendMessageW(tooltip_, TTM_ACTIVATE, TRUE, 0);
}

bool Feedback::PreTranslateMessage(MSG& message) {
    if (tooltip_) SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
    const bool ours = message.hwnd == hwnd() || IsChild(hwnd(), message.hwnd);
    if (ours && message.message == WM_KEYDOWN) {
        if (message.wParam == VK_ESCAPE) {
            EndProcess();
            return true;
        }
        // Return in the description is a line break (the edit takes it);
        // anywhere else it submits, through the dialog procedure like a click.
        if (message.wParam == VK_RETURN && message.hwnd != item(IDC_FEEDBACK_DESCRIPTION)) {
            SendMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            return true;
        }
    }
    return ui::CDialogSK::PreTranslateMessage(message);
}

bool Feedback::OnCommand(int id, int code, HWND control) {
    switch (id) {
    case IDCANCEL:
    case IDC_FEEDBACK_X:
        EndProcess();
        return true;
    case IDC_FEEDBACK_RATING_1:
    case IDC_FEEDBACK_RATING_2:
    case IDC_FEEDBACK_RATING_3:
    case IDC_FEEDBACK_RATING_4:
    case IDC_FEEDBACK_RATING_5:
        if (code == BN_CLICKED) chooseRating(static_cast<size_t>(id - IDC_FEEDBACK_RATING_1));
        return true;
    case IDC_FEEDBACK_CHOSEN_1:
    case IDC_FEEDBACK_CHOSEN_2:
    case IDC_FEEDBACK_CHOSEN_3:
    case IDC_FEEDBACK_CHOSEN_4:
    case IDC_FEEDBACK_CHOSEN_5:
    case IDC_FEEDBACK_WHATSAPP:
        return true;  // pictures only: a click does nothing
    case IDC_FEEDBACK_DESCRIPTION:
        if (code != EN_CHANGE) return false;
        updateCounter();
        return true;
    case IDC_FEEDBACK_REMOTE_SUPPORT:
        startRemoteSupport();
        return true;
    default:
        return ui::CDialogSK::OnCommand(id, code, control);
    }
}

void Feedback::OnOK() { OnBnClickedOk(); }

void Feedback::chooseRating(size_t index) {
    // A rating chosen from the keyboard hides the focused button: the focus
    // moves to the picture that takes its place, so the user keeps it.
    const bool focusOnRating = GetFocus() == ratingButtons_[index].hwnd();
    for (size_t i = 0; i < ratingButtons_.size(); ++i) {
        ShowWindow(ratingButtons_[i].hwnd(), i == index ? SW_HIDE : SW_SHOW);
        ShowWindow(chosenImages_[i].hwnd(), i == index ? SW_SHOW : SW_HIDE);
    }
    if (focusOnRating) SetFocus(chosenImages_[index].hwnd());
    SetWindowTextW(item(IDC_FEEDBACK_RATING_WORD), fromUtf8(kRatingWords[index]).c_str());
    // The chosen word takes the place of the hover word at once, not only at
    // the next mouse move.
    OnSetCursor(nullptr, HTNOWHERE, 0);
}

void Feedback::updateCounter() {
    HWND description = item(IDC_FEEDBACK_DESCRIPTION);
    // The description draws its text on a transparent background: repaint it
    // whole so that no removed character stays behind.
    InvalidateRect(description, nullptr, TRUE);
    const int remaining = kDescriptionLimit - GetWindowTextLengthW(description);
    SetWindowTextW(item(IDC_FEEDBACK_COUNTER), (std::to_wstring(remaining) + L" Characters Remaining").c_str());
}

void Feedback::startRemoteSupport() {
    // No owner window: a missing tool must not raise the shell's error box.
    const std::wstring tool = installFolder() + L"\\HALDORIN.EXE";
    ShellExecuteW(nullptr, L"open", tool.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool Feedback::OnSetCursor(HWND window, int, UINT) {
    HWND chosenWord = item(IDC_FEEDBACK_RATING_WORD);
    HWND hoverWord = item(IDC_FEEDBACK_HOVER_WORD);
    if (GetWindowTextLengthW(chosenWord) > 0) {
        // A rating is chosen: its word stays, hovering shows nothing new and
        // the cursor is the default one.
        setShown(hoverWord, false);
        setShown(chosenWord, true);
        setTextIfChanged(hoverWord, L"");
        return false;
    }
    std::wstring word;
    for (size_t i = 0; i < ratingButtons_.size(); ++i)
        if (window && window == ratingButtons_[i].hwnd()) word = fromUtf8(kRatingWords[i]);
    setTextIfChanged(hoverWord, word);

    const bool clickable = window && (window == submitButton_.hwnd() || window == cancelButton_.hwnd() ||
                                      window == whatsAppButton_.hwnd() || window == remoteButton_.hwnd());
    if (!clickable || !handCursor_) return false;
    SetCursor(handCursor_);
    return true;
}

HBRUSH Feedback::OnCtlColor(UINT message, HDC dc, HWND control) {
    if (message == WM_CTLCOLORMSGBOX || message == WM_CTLCOLORSCROLLBAR) return nullptr;
    if (message == WM_CTLCOLORSTATIC && control == item(IDC_FEEDBACK_MARK)) {
        SetTextColor(dc, RGB(255, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        return static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
    }
    SetBkMode(dc, TRANSPARENT);
    return ui::whiteBrush();
}

// --- submission ----------------------------------------------------------------

void Feedback::loadTransport() {
    writeFeedbackLog("in LoadDll()");
    const std::wstring path = transportLibraryPathIn(installFolder());
    writeFeedbackLog("WBX Path:" + toAnsi(path));
    // A library without SendWebdata3 is unloaded again: nothing is sent.
    transport_ = loadTransportLibrary(path);
    writeFeedbackLog("out LoadDll()");
}

std::string Feedback::issueTypes() const {
    std::array<bool, kFeedbackIssueTypeCount> ticked{};
    for (size_t i = 0; i < kFeedbackIssueTypeCount; ++i)
        ticked[i] = IsDlgButtonChecked(hwnd(), kIssueTypeBoxes[i]) == BST_CHECKED;
    return issueTypeText(ticked);
}

void Feedback::OnBnClickedOk() {
    // The form is disabled while a message of the submission is up; this
    // also refuses a Submit that reaches it some other way meanwhile.
    if (submitting_) return;
    submitting_ = true;
    struct EndOfAttempt {
        bool& submitting;
        ~EndOfAttempt() { submitting = false; }
    } endOfAttempt{submitting_};

    writeFeedbackLog("in OnBnClickedOk()");
    details_ = readFeedbackDetails();
    loadTransport();
    const VendorHosts hosts = readVendorHosts(installFolder());
    const std::string mailHost = toAnsi(hosts.helpDeskMail);
    writeFeedbackLog(mailHost);
    writeFeedbackLog(kFeedbackMailPath);

    const std::string rating = toUtf8(windowText(item(IDC_FEEDBACK_RATING_WORD)));
    const std::string issueType = issueTypes();
    const std::wstring description = windowText(item(IDC_FEEDBACK_DESCRIPTION));
    if (description.empty()) {
        MessageBoxW(hwnd(), fromUtf8(kEmptyDescriptionMessage).c_str(), fromUtf8(kEmptyDescriptionCaption).c_str(),
                    MB_OK);
        return;
    }

    FeedbackBodyFields fields;
    fields.email = toUtf8(details_.email);
    fields.licenceCode = toUtf8(details_.licenceCode);
    fields.city = toUtf8(details_.city);
    fields.customerName = toUtf8(details_.customerName);
    fields.district = toUtf8(details_.district);
    fields.issueType = issueType;
    fields.mobile = toUtf8(details_.mobile);
    fields.expiryDate = toUtf8(details_.expiryDate);
    fields.osName = toUtf8(details_.osName);
    fields.rating = rating;
    fields.description = toUtf8(description);
    const std::string body = buildFeedbackBody(fields);
    writeFeedbackLog("Data to Send:");
    writeFeedbackLog(body);

    if (!isRatingWord(rating)) {
        // Nothing is sent without a rating; the customer is asked for one
        // and finds the form as it was.
        messageBox_.kind = 0;
        messageBox_.text = fromUtf8(kNoRatingMessage);
        messageBox_.smallText = false;
        messageBox_.Run(hwnd());
        writeFeedbackLog("out OnBnClickOk()");
        return;
    }

    const std::wstring page = fromUtf8(feedbackPageAddress(toUtf8(hosts.feedbackPage), rating));
    const std::string replyText = sendFeedbackMail(transport_, hosts.helpDeskMail, body);
    writeFeedbackLog(replyText);

    const FeedbackMessage thanks = thankYouMessage(replyText, rating);
    messageBox_.kind = 1;
    messageBox_.text = fromUtf8(thanks.text);
    messageBox_.smallText = thanks.smallText;
    messageBox_.Run(hwnd());
    if (replyConfirmsFeedback(replyText)) ShellExecuteW(nullptr, L"open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL);

    writeFeedbackLog("out OnBnClickOk()");
    EndProcess();
}

}  // namespace tiqora
