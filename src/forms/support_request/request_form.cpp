#include "forms/support_request/request_form.h"

#include "core/support_request/request_rules.h"
#include "features/support_request/call_tracking.h"
#include "forms/support_request/history_dlg.h"
#include "resource.h"
#include "ui/look.h"
#include "ui/scaled_pictures.h"
#include "ui/window_text.h"
#include "win/config_sources.h"
#include "win/wide_text.h"

namespace tiqora {

namespace {

constexpr COLORREF kPaleYellow = RGB(251, 253, 168);

const wchar_t* const kCustomerTypes[] = {L"Home", L"Office (1 to 10 PC)", L"Corporate (10+ PC)"};
const wchar_t* const kIssueTypes[] = {L"Reactivation", L"Activation", L"Renewal", L"Virus", L"Update",
                                      L"Network",      L"PC",         L"Scanning", L"Others"};

// The red "*" marks and the footnote.
bool isMandatoryMark(int id) {
    switch (id) {
    case IDC_REQUEST_NAME_MARK:
    case IDC_REQUEST_MOBILE_MARK:
    case IDC_REQUEST_EMAIL_MARK:
    case IDC_REQUEST_ISSUE_MARK:
    case IDC_REQUEST_DESC_MARK:
    case IDC_REQUEST_FOOTNOTE:
        return true;
    default:
        return false;
    }
}

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

RequestForm::RequestForm(ui::CDialogSK& dialog, const ProductFolders& folders, std::wstring suiteFolder)
    : dialog_(dialog),
      folders_(folders),
      suiteFolder_(std::move(suiteFolder)),
      highlightBrush_(CreateSolidBrush(kPaleYellow)) {}

std::wstring RequestForm::textOf(int id) const { return ui::windowText(item(id)); }

void RequestForm::setUp() {
    HWND form = dialog_.hwnd();
    SetWindowTextW(form, L"Tiqora Desk");
    dialog_.LoadSkin(IDB_SKIN_REQUEST);
    fieldIcons_ = ui::scaleStaticPictures(form);
    const std::pair<ui::CHoverBtn*, std::pair<int, int>> buttons[] = {
        {&submitButton_, {IDC_REQUEST_SUBMIT, IDB_STRIP_SUBMIT}},
        {&historyButton_, {IDC_REQUEST_HISTORY, IDB_STRIP_HISTORY}},
        {&closeButton_, {IDC_REQUEST_CLOSE, IDB_STRIP_CLOSE}},
        {&minButton_, {IDC_REQUEST_MIN, IDB_STRIP_MIN}},
    };
    for (const auto& [button, ids] : buttons) {
        button->Attach(form, ids.first);
        button->LoadStrip(ids.second);
    }

    fillCombos();
    details_ = readRequestDetails();
    SetWindowTextW(item(IDC_REQUEST_NAME), details_.customerName.c_str());
    SetWindowTextW(item(IDC_REQUEST_CITY), details_.city.c_str());
    SetWindowTextW(item(IDC_REQUEST_STATE), details_.state.c_str());
    SendMessageW(item(IDC_REQUEST_MOBILE), EM_LIMITTEXT, kMobileLimit, 0);
    SendMessageW(item(IDC_REQUEST_DESCRIPTION), EM_LIMITTEXT, kDescriptionLimit, 0);
    applyFonts();

    // History is offered once this machine has a request history.
    ShowWindow(item(IDC_REQUEST_HISTORY), fileExists(folders_.requestHistory) ? SW_SHOW : SW_HIDE);
    SetWindowTextW(item(IDC_REQUEST_COUNTER), L"256 Characters Remaining");
}

void RequestForm::fillCombos() {
    HWND customer = item(IDC_REQUEST_CUSTOMER);
    for (const wchar_t* type : kCustomerTypes) SendMessageW(customer, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(type));
    SendMessageW(customer, CB_SETCUEBANNER, 0, reinterpret_cast<LPARAM>(L"Select Customer Type"));
    HWND issue = item(IDC_REQUEST_ISSUE);
    for (const wchar_t* type : kIssueTypes) SendMessageW(issue, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(type));
    SendMessageW(issue, CB_SETCUEBANNER, 0, reinterpret_cast<LPARAM>(L"Select Issue Type"));
}

void RequestForm::applyFonts() {
    fieldFont_ = ui::makeFont(L"Cambria", 17);
    descriptionFont_ = ui::makeFont(L"Cambria", 18);
    labelFont_ = ui::makeFont(L"Cambria", 16);
    footnoteFont_ = ui::makeFont(L"Cambria", 14);
    auto setFont = [&](int id, const ui::Font& font) {
        SendMessageW(item(id), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    };
    for (int id : {IDC_REQUEST_NAME, IDC_REQUEST_MOBILE, IDC_REQUEST_EMAIL, IDC_REQUEST_CITY, IDC_REQUEST_STATE,
                   IDC_REQUEST_CUSTOMER, IDC_REQUEST_ISSUE})
        setFont(id, fieldFont_);
    setFont(IDC_REQUEST_DESCRIPTION, descriptionFont_);
    for (int id : {IDC_REQUEST_NAME_LABEL, IDC_REQUEST_MOBILE_LABEL, IDC_REQUEST_EMAIL_LABEL, IDC_REQUEST_CITY_LABEL,
                   IDC_REQUEST_STATE_LABEL, IDC_REQUEST_CUST_LABEL, IDC_REQUEST_ISSUE_LABEL})
        setFont(id, labelFont_);
    setFont(IDC_REQUEST_FOOTNOTE, footnoteFont_);
}

void RequestForm::updateCounter() {
    const int length = GetWindowTextLengthW(item(IDC_REQUEST_DESCRIPTION));
    SetWindowTextW(item(IDC_REQUEST_COUNTER), fromUtf8(remainingCharactersText(length)).c_str());
}

bool RequestForm::onCommand(int id, int code) {
    switch (id) {
    case IDOK:
    case IDC_REQUEST_SUBMIT:
        if (code == BN_CLICKED) submit();
        return true;
    case IDC_REQUEST_HISTORY:
        if (code == BN_CLICKED) openHistory();
        return true;
    case IDC_REQUEST_DESCRIPTION:
        if (code == EN_CHANGE) updateCounter();
        return true;
    case IDC_REQUEST_CLOSE:
        ui::Dialog::EndProcess();
        return true;
    case IDC_REQUEST_MIN:
        if (code == BN_CLICKED) ShowWindow(dialog_.hwnd(), SW_MINIMIZE);
        return true;
    case IDC_REQUEST_CUSTOMER:  // a choice of customer type needs no action
        return true;
    default:
        return false;
    }
}

void RequestForm::openHistory() {
    HistoryDlg history(folders_.requestHistory);
    history.DoModal(dialog_.hwnd());
}

void RequestForm::markInvalid(int id, bool invalid) {
    bool& flag = id == IDC_REQUEST_NAME ? nameInvalid_ : id == IDC_REQUEST_MOBILE ? mobileInvalid_ : emailInvalid_;
    flag = invalid;
    InvalidateRect(item(id), nullptr, TRUE);
    if (invalid) SetFocus(item(id));
}

void RequestForm::submit() {
    HWND form = dialog_.hwnd();
    EnableWindow(item(IDC_REQUEST_HISTORY), FALSE);
    EnableWindow(item(IDC_REQUEST_SUBMIT), FALSE);
    RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);

    name_ = textOf(IDC_REQUEST_NAME);
    mobile_ = textOf(IDC_REQUEST_MOBILE);
    email_ = textOf(IDC_REQUEST_EMAIL);
    RequestInput input;
    input.name = toUtf8(name_);
    input.mobile = toUtf8(mobile_);
    input.email = toUtf8(email_);
    input.city = toUtf8(textOf(IDC_REQUEST_CITY));
    input.state = toUtf8(textOf(IDC_REQUEST_STATE));
    input.description = toUtf8(textOf(IDC_REQUEST_DESCRIPTION));
    input.customerTypeIndex = static_cast<int>(SendMessageW(item(IDC_REQUEST_CUSTOMER), CB_GETCURSEL, 0, 0));
    input.issueTypeIndex = static_cast<int>(SendMessageW(item(IDC_REQUEST_ISSUE), CB_GETCURSEL, 0, 0));
    if (input.issueTypeIndex >= 0 && input.issueTypeIndex < static_cast<int>(std::size(kIssueTypes)))
        input.issueTypeText = toUtf8(kIssueTypes[input.issueTypeIndex]);

    const RequestCheck check = checkRequest(input);
    // A check that passed clears its mark; the failing one sets it.
    if (check.nameChecked) markInvalid(IDC_REQUEST_NAME, check.field == RequestField::Name);
    if (check.mobileChecked) markInvalid(IDC_REQUEST_MOBILE, check.field == RequestField::Mobile);
    if (check.emailChecked) markInvalid(IDC_REQUEST_EMAIL, check.field == RequestField::Email);

    if (!check.valid) {
        MessageBoxW(form, fromUtf8(check.message).c_str(), applicationTitle().c_str(), MB_OK);
        EnableWindow(item(IDC_REQUEST_SUBMIT), TRUE);
        EnableWindow(item(IDC_REQUEST_HISTORY), TRUE);
        return;
    }

    CallTrackingRequest request;
    request.name = input.name;
    request.mobile = input.mobile;
    request.email = input.email;
    request.city = check.city;
    request.state = check.state;
    request.description = check.description;
    request.customerTypeIndex = input.customerTypeIndex;
    request.issueTypeIndex = input.issueTypeIndex;
    request.issueTypeText = input.issueTypeText;
    request.licenceCode = toUtf8(details_.licenceCode);
    submitCallTracking(form, request,
                       CallTrackingSetup{suiteFolder_, readVendorHosts(installFolder()).callTracking,
                                         folders_.requestHistory});
    // Whatever the outcome, the request form has done its work.
    ui::Dialog::EndProcess();
}

HBRUSH RequestForm::onColour(UINT message, HDC dc, HWND control) {
    const int id = GetDlgCtrlID(control);
    if (message == WM_CTLCOLORSTATIC && isMandatoryMark(id)) {
        SetTextColor(dc, RGB(255, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        SetBkMode(dc, TRANSPARENT);
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    if (message == WM_CTLCOLOREDIT) {
        // A field whose check failed is marked pale yellow, unless its value
        // holds a blank.
        const std::wstring* value = id == IDC_REQUEST_NAME     ? (nameInvalid_ ? &name_ : nullptr)
                                    : id == IDC_REQUEST_MOBILE ? (mobileInvalid_ ? &mobile_ : nullptr)
                                    : id == IDC_REQUEST_EMAIL  ? (emailInvalid_ ? &email_ : nullptr)
                                                               : nullptr;
        if (!value || value->find(L' ') != std::wstring::npos) return nullptr;
        SetBkColor(dc, kPaleYellow);
        return highlightBrush_.get();
    }
    if (message == WM_CTLCOLORSTATIC) {
        SetBkMode(dc, TRANSPARENT);
        return ui::whiteBrush();
    }
    return nullptr;
}

}  // namespace tiqora
