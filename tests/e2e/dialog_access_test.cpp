// Every dialog of the real TiqoraDesk.exe, checked the way a keyboard user, a
// screen reader and a high-DPI screen meet it: the focus it opens with, its
// tab order against its reading order, the accessible name of each input
// and picture button (read through oleacc), and its layout at 96, 120 and
// 144 DPI (every control inside the client area, none over another).
#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "harness/machine.h"
#include "harness/own_message.h"
#include "harness/screenshot.h"
#include "harness/test_paths.h"
#include "harness/ui_driver.h"
#include "resource.h"
#include "win/wide_text.h"

namespace tiqora::test {
namespace {

std::wstring trimmed(std::wstring text) {
    const auto first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

// The name a screen reader announces for a control: oleacc's object for the
// window's client area (Wine, like Windows, builds one for a standard
// control that does not answer WM_GETOBJECT itself).
std::wstring accessibleName(HWND window) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))))
        return L"<no accessible object>";
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    const HRESULT result = object->get_accName(self, &name);
    std::wstring text = result == S_OK && name ? std::wstring(name, SysStringLen(name)) : L"<no name>";
    SysFreeString(name);
    object->Release();
    return text;
}

// The name of an input as a screen reader takes it. An edit control is
// named by oleacc after the label right before it. Windows names a combo box
// the same way, but Wine's oleacc names it after its selection, so for a
// combo box the test checks the label right before it in the window order,
// which is what Windows reads. Wine also hands a SysLink's markup through
// as its name, where Windows' control names itself by its link text.
std::wstring nameOf(HWND window) {
    const std::wstring kind = className(window);
    if (kind == L"ComboBox") {
        HWND label = GetWindow(window, GW_HWNDPREV);
        return label && className(label) == L"Static" ? trimmed(textOf(label)) : L"<no label before it>";
    }
    std::wstring name = accessibleName(window);
    if (kind == L"SysLink") {
        for (const wchar_t* tag : {L"<a>", L"</a>"})
            for (size_t at; (at = name.find(tag)) != std::wstring::npos;) name.erase(at, wcslen(tag));
    }
    return trimmed(name);
}

RECT screenRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// The tab cycle from the first tab stop of the dialog.
std::vector<int> tabCycle(HWND dialog) {
    std::vector<int> ids;
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    for (HWND at = first; at && ids.size() < 100;) {
        ids.push_back(GetDlgCtrlID(at));
        at = GetNextDlgTabItem(dialog, at, FALSE);
        if (at == first) break;
    }
    return ids;
}

// Reading order: `next` comes after `previous` when it starts below it, or
// when both share a line and `next` starts further right.
bool readsAfter(const RECT& previous, const RECT& next) {
    const LONG shared = std::min(previous.bottom, next.bottom) - std::max(previous.top, next.top);
    const LONG smaller = std::min(previous.bottom - previous.top, next.bottom - next.top);
    const bool sameLine = shared * 2 > smaller;
    return sameLine ? next.left >= previous.right - 1 : next.top >= previous.top;
}

bool isGroupBox(HWND window) {
    return className(window) == L"Button" && (GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

bool isPictureStatic(HWND window) {
    return className(window) == L"Static" && (GetWindowLongW(window, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP;
}

struct DialogCase {
    const char* name;
    const wchar_t* arguments;
    std::function<HWND(AppProcess&)> open;
    std::vector<int> tabOrder;
    // Each input and picture button with the name a screen reader gives it.
    std::vector<std::pair<int, std::wstring>> names;
    // What the machine holds besides the standard installation.
    std::function<void()> prepare = [] {};
};

void prepareFor(const DialogCase& c) {
    SuiteMachine::standard();
    // A recorded support request, so that the request form offers History.
    writeFileBytes(L"C:\\ProgramData\\Orvantis\\Tiqora.ini",
                   "[Tiqora]\r\nCNT=1\r\n1=7/12/2026 05:26#CT : 4711#VIRUS - slow#9876543210\r\n");
    c.prepare();
}

HWND openRequestForm(AppProcess& app) { return app.waitForWindow(L"Tiqora_Desk"); }
HWND openItTicketForm(AppProcess& app) { return app.waitForDialogWith(IDC_TICKET_X); }

const std::vector<DialogCase>& dialogCases() {
    static const std::vector<DialogCase> cases = {
        {"RequestForm", L"", openRequestForm,
         {IDC_REQUEST_NAME, IDC_REQUEST_MOBILE, IDC_REQUEST_EMAIL, IDC_REQUEST_CITY, IDC_REQUEST_STATE,
          IDC_REQUEST_CUSTOMER, IDC_REQUEST_ISSUE, IDC_REQUEST_DESCRIPTION, IDC_REQUEST_SUBMIT,
          IDC_REQUEST_HISTORY},
         {{IDC_REQUEST_NAME, L"Name"},
          {IDC_REQUEST_MOBILE, L"Contact No."},
          {IDC_REQUEST_EMAIL, L"Email Id"},
          {IDC_REQUEST_CITY, L"City"},
          {IDC_REQUEST_STATE, L"State"},
          {IDC_REQUEST_CUSTOMER, L"Customer Type"},
          {IDC_REQUEST_ISSUE, L"Issue Related To"},
          {IDC_REQUEST_DESCRIPTION, L"Issue Description :"},
          {IDC_REQUEST_SUBMIT, L"Submit"},
          {IDC_REQUEST_HISTORY, L"History"},
          {IDC_REQUEST_MIN, L"Min"},
          {IDC_REQUEST_CLOSE, L"Close"}}},
        {"RequestHistory", L"",
         [](AppProcess& app) {
             click(openRequestForm(app), IDC_REQUEST_HISTORY);
             return app.waitForDialogWith(IDC_HISTORY_LIST);
         },
         {IDC_HISTORY_LIST},
         {{IDC_HISTORY_LIST, L"Request History"}, {IDC_HISTORY_CLOSE, L"Close"}}},
        {"AboutBox", L"",
         [](AppProcess& app) {
             systemCommand(openRequestForm(app), IDM_ABOUTBOX);
             return app.waitForWindow(L"#32770", L"About Vandrel");
         },
         {IDOK},
         {{IDOK, L"OK"}}},
        {"Feedback", L"/feedback", [](AppProcess& app) { return app.waitForDialogWith(IDC_FEEDBACK_X); },
         {IDC_FEEDBACK_RATING_1, IDC_FEEDBACK_RATING_2, IDC_FEEDBACK_RATING_3, IDC_FEEDBACK_RATING_4,
          IDC_FEEDBACK_RATING_5, IDC_FEEDBACK_SUPPORT, IDC_FEEDBACK_SCANNING, IDC_FEEDBACK_UPDATE,
          IDC_FEEDBACK_VIRUS, IDC_FEEDBACK_SLOW_PC, IDC_FEEDBACK_SOFTWARE_BLOCK, IDC_FEEDBACK_MALWARE,
          IDC_FEEDBACK_POPUP, IDC_FEEDBACK_ERROR_SCREEN, IDC_FEEDBACK_ACTIVATION, IDC_FEEDBACK_RENEWAL,
          IDC_FEEDBACK_OTHER, IDC_FEEDBACK_DESCRIPTION, IDC_FEEDBACK_WHATSAPP, IDC_FEEDBACK_REMOTE_SUPPORT,
          IDOK, IDCANCEL},
         {{IDC_FEEDBACK_RATING_1, L"Horrible"},
          {IDC_FEEDBACK_RATING_2, L"Bad"},
          {IDC_FEEDBACK_RATING_3, L"Average"},
          {IDC_FEEDBACK_RATING_4, L"Good"},
          {IDC_FEEDBACK_RATING_5, L"Excellent"},
          {IDC_FEEDBACK_SUPPORT, L"Support"},
          {IDC_FEEDBACK_OTHER, L"Other"},
          {IDC_FEEDBACK_DESCRIPTION, L"FeedBack"},
          {IDC_FEEDBACK_WHATSAPP, L"WhatsApp"},
          {IDC_FEEDBACK_REMOTE_SUPPORT, L"Remote Support"},
          {IDOK, L"Submit"},
          {IDCANCEL, L"Cancel"},
          {IDC_FEEDBACK_X, L"Close"}}},
        {"ItTicketForm", L"/sys", openItTicketForm,
         {IDC_TICKET_USER_NAME, IDC_TICKET_ISSUE, IDC_TICKET_PRIORITY, IDC_TICKET_DESCRIPTION,
          IDC_TICKET_SCREENSHOT_LINK, IDC_TICKET_HISTORY_LINK, IDC_TICKET_SUBMIT, IDC_TICKET_CANCEL},
         {{IDC_TICKET_USER_NAME, L"Host Name    :"},
          {IDC_TICKET_ISSUE, L"Issue Title     :"},
          {IDC_TICKET_PRIORITY, L"Priority          :"},
          {IDC_TICKET_DESCRIPTION, L"Issue Description"},
          {IDC_TICKET_SCREENSHOT_LINK, L"Screenshot"},
          {IDC_TICKET_HISTORY_LINK, L"Ticket History"},
          {IDC_TICKET_SUBMIT, L"Submit"},
          {IDC_TICKET_CANCEL, L"Cancel"},
          {IDC_TICKET_X, L"Close"}}},
        {"ItTicketFormOfTheContactCustomer", L"/sys",
         openItTicketForm,
         {IDC_TICKET_USER_NAME, IDC_TICKET_ISSUE, IDC_TICKET_PRIORITY, IDC_TICKET_EMAIL, IDC_TICKET_MOBILE,
          IDC_TICKET_DESCRIPTION, IDC_TICKET_SCREENSHOT_LINK, IDC_TICKET_HISTORY_LINK, IDC_TICKET_SUBMIT,
          IDC_TICKET_CANCEL},
         {{IDC_TICKET_EMAIL, L"Email Id         :"}, {IDC_TICKET_MOBILE, L"Contact No    :"}},
         [] { SuiteMachine::existing().set(RegistrySource::SuiteConfig, L"CorporateID", L"QRS-T2002"); }},
        {"TicketHistory", L"/sys",
         [](AppProcess& app) {
             clickLink(openItTicketForm(app), IDC_TICKET_HISTORY_LINK);
             return app.waitForDialogWith(IDC_TRACK_LIST);
         },
         {IDC_TRACK_LIST, IDC_TRACK_DESCRIPTION},
         {{IDC_TRACK_LIST, L"Ticket History"},
          {IDC_TRACK_DESCRIPTION, L"Issue Description           :"},
          {IDC_TRACK_CLOSE, L"Close"}}},
        {"MessageBox", L"/sys",
         [](AppProcess& app) {
             click(openItTicketForm(app), IDC_TICKET_SUBMIT);  // no description: the form says so
             return waitForOwnMessage(app).window;
         },
         {IDC_MESSAGE_OK},
         {{IDC_MESSAGE_OK, L"OK"}}},
        {"ReplyPopup", L"/SAReply=L,1234,abc", [](AppProcess& app) { return app.waitForDialogWith(IDC_POPUP_OPEN); },
         {IDC_POPUP_OPEN},
         {{IDC_POPUP_OPEN, L"Open Ticket"}, {IDC_POPUP_CLOSE, L"Close"}}},
    };
    return cases;
}

class DialogAccessTest : public ::testing::TestWithParam<DialogCase> {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override { CoUninitialize(); }
};

TEST_P(DialogAccessTest, KeyboardOrderAndScreenReaderNames) {
    const DialogCase& c = GetParam();
    prepareFor(c);
    AppProcess app(SuiteMachine::program(), c.arguments);
    HWND dialog = c.open(app);

    // The focus starts on the first field a user fills, which is the first
    // tab stop; Tab then walks the cycle in reading order and comes back.
    ASSERT_FALSE(c.tabOrder.empty());
    const auto focusOn = [&](size_t index) {
        waitUntil([&] { return focusedWindow(dialog) == GetDlgItem(dialog, c.tabOrder[index % c.tabOrder.size()]); },
                  "the focus on control " + std::to_string(c.tabOrder[index % c.tabOrder.size()]));
    };
    focusOn(0);
    EXPECT_EQ(tabCycle(dialog), c.tabOrder);
    for (size_t i = 1; i <= c.tabOrder.size(); ++i) {
        pressKey(dialog, VK_TAB);
        focusOn(i);
    }
    for (size_t i = 1; i < c.tabOrder.size(); ++i) {
        EXPECT_TRUE(readsAfter(screenRect(GetDlgItem(dialog, c.tabOrder[i - 1])),
                               screenRect(GetDlgItem(dialog, c.tabOrder[i]))))
            << "control " << c.tabOrder[i] << " comes before control " << c.tabOrder[i - 1] << " in reading order";
    }

    for (const auto& [id, expected] : c.names) EXPECT_EQ(nameOf(control(dialog, id)), expected) << "control " << id;
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogAccessTest, ::testing::ValuesIn(dialogCases()),
                         [](const auto& item) { return std::string(item.param.name); });

const DialogCase& dialogCase(const std::string& name) {
    for (const DialogCase& c : dialogCases())
        if (name == c.name) return c;
    throw DriverError("no dialog case " + name);
}

// The dialogs that close with the standard keys: Return (their OK) and
// Escape (their Cancel) end them and leave the window that opened them
// running. The forms' own keys (Escape ignored by the request form, Return
// and Escape of the IT ticket and feedback forms, Escape of the popup) are
// tested with the forms.
struct KeyCase {
    const char* dialog;
    UINT key;
};

class DialogKeyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(DialogKeyTest, ClosesTheDialogAndLeavesItsOpener) {
    const DialogCase& c = dialogCase(GetParam().dialog);
    prepareFor(c);
    AppProcess app(SuiteMachine::program(), c.arguments);
    HWND dialog = c.open(app);
    HWND opener = GetWindow(dialog, GW_OWNER);
    ASSERT_NE(opener, nullptr);
    waitUntil([&] { return focusedWindow(dialog) != nullptr; }, "the dialog's focus");
    pressKey(dialog, GetParam().key);
    waitUntil([&] { return !IsWindow(dialog); }, "the dialog to close");
    EXPECT_TRUE(app.running());
    EXPECT_TRUE(isVisible(opener));
    waitUntil([&] { return IsWindowEnabled(opener) != FALSE; }, "its opener to take input again");
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogKeyTest,
                         ::testing::Values(KeyCase{"RequestHistory", VK_RETURN}, KeyCase{"RequestHistory", VK_ESCAPE},
                                           KeyCase{"AboutBox", VK_RETURN}, KeyCase{"AboutBox", VK_ESCAPE},
                                           KeyCase{"TicketHistory", VK_RETURN}, KeyCase{"TicketHistory", VK_ESCAPE},
                                           KeyCase{"MessageBox", VK_RETURN}, KeyCase{"MessageBox", VK_ESCAPE}),
                         [](const auto& item) {
                             return std::string(item.param.dialog) +
                                    (item.param.key == VK_RETURN ? "ByReturn" : "ByEscape");
                         });

TEST(FeedbackByKeyboard, SpaceChoosesTheFocusedRatingAndTheFocusStaysOnIt) {
    const DialogCase& c = dialogCase("Feedback");
    prepareFor(c);
    AppProcess app(SuiteMachine::program(), c.arguments);
    HWND form = c.open(app);
    waitUntil([&] { return focusedWindow(form) == GetDlgItem(form, IDC_FEEDBACK_RATING_1); }, "the focus on the first rating");
    for (int i = 0; i < 3; ++i) pressKey(form, VK_TAB);
    waitUntil([&] { return focusedWindow(form) == GetDlgItem(form, IDC_FEEDBACK_RATING_4); }, "the focus on Good");
    pressKey(form, VK_SPACE);
    waitUntil([&] { return textOf(control(form, IDC_FEEDBACK_RATING_WORD)) == L"Good"; }, "Good chosen");
    EXPECT_FALSE(isVisible(control(form, IDC_FEEDBACK_RATING_4)));
    // The picture of the chosen rating takes the button's place and its focus.
    EXPECT_TRUE(isVisible(control(form, IDC_FEEDBACK_CHOSEN_4)));
    EXPECT_EQ(focusedWindow(form), GetDlgItem(form, IDC_FEEDBACK_CHOSEN_4));
    EXPECT_EQ(nameOf(control(form, IDC_FEEDBACK_CHOSEN_4)), L"Good");
    // Another rating can still be chosen from the keyboard.
    pressKey(form, VK_TAB);
    waitUntil([&] { return focusedWindow(form) == GetDlgItem(form, IDC_FEEDBACK_RATING_5); }, "the focus on Excellent");
    pressKey(form, VK_SPACE);
    waitUntil([&] { return textOf(control(form, IDC_FEEDBACK_RATING_WORD)) == L"Excellent"; }, "Excellent chosen");
    EXPECT_TRUE(isVisible(control(form, IDC_FEEDBACK_RATING_4)));
}

struct ScaledCase {
    const DialogCase* dialog;
    DWORD dpi;
    SIZE client;  // the client area's size at that DPI, in pixels
};

void PrintTo(const ScaledCase& c, std::ostream* out) { *out << c.dialog->name << " at " << c.dpi << " DPI"; }

class DialogLayoutTest : public ::testing::TestWithParam<ScaledCase> {
protected:
    void TearDown() override { setDpiOfNewPrograms(96); }
};

SIZE clientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

TEST_P(DialogLayoutTest, EveryControlInsideTheClientAreaAndNoneOverAnother) {
    const DialogCase& c = *GetParam().dialog;
    const DWORD dpi = GetParam().dpi;
    prepareFor(c);
    setDpiOfNewPrograms(dpi);
    AppProcess app(SuiteMachine::program(), c.arguments);
    HWND dialog = c.open(app);
    // The dialog's size follows its template's dialog units and its font at
    // this DPI (the sizes worked out by hand below).
    const SIZE size = clientSize(dialog);
    EXPECT_EQ(size.cx, GetParam().client.cx);
    EXPECT_EQ(size.cy, GetParam().client.cy);

    RECT client{};
    GetClientRect(dialog, &client);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    std::vector<HWND> shown;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const RECT r = screenRect(child);
        if (!isVisible(child) || r.right <= r.left || r.bottom <= r.top) continue;
        EXPECT_TRUE(r.left >= client.left && r.top >= client.top && r.right <= client.right && r.bottom <= client.bottom)
            << "control " << GetDlgCtrlID(child) << " (" << toUtf8(textOf(child)) << ") leaves the client area";
        // A group box frames others: it is the one control meant to lie under them.
        if (!isGroupBox(child)) shown.push_back(child);
        // The field icons, 20 pixels square for 96 DPI, grow with the text.
        if (isPictureStatic(child)) {
            EXPECT_EQ(r.right - r.left, MulDiv(20, static_cast<int>(dpi), 96)) << "icon " << GetDlgCtrlID(child);
            EXPECT_EQ(r.bottom - r.top, MulDiv(20, static_cast<int>(dpi), 96)) << "icon " << GetDlgCtrlID(child);
        }
    }
    for (size_t i = 0; i < shown.size(); ++i) {
        for (size_t j = i + 1; j < shown.size(); ++j) {
            RECT both{};
            const RECT a = screenRect(shown[i]), b = screenRect(shown[j]);
            EXPECT_FALSE(IntersectRect(&both, &a, &b))
                << "controls " << GetDlgCtrlID(shown[i]) << " (" << toUtf8(textOf(shown[i])) << ") and "
                << GetDlgCtrlID(shown[j]) << " (" << toUtf8(textOf(shown[j])) << ") overlap";
        }
    }
    // A picture to look at: build/win/bin/dialogs-at-dpi/<dialog>-<dpi>.png.
    CreateDirectoryW(buildFile(L"dialogs-at-dpi").c_str(), nullptr);
    saveWindowPng(dialog, buildFile(L"dialogs-at-dpi\\" + fromUtf8(c.name) + L"-" +
                                    std::to_wstring(dpi) + L".png"));
}

// The client size of each dialog at 96, 120 and 144 DPI, worked out by hand
// from its template as the dialog manager maps dialog units: width = units x
// the font's average letter width / 4, height = units x the font's height / 8,
// each rounded to the nearest pixel. The templates' fonts (MS Shell Dlg,
// Microsoft Sans Serif, Verdana) are not on this machine: Wine draws each of
// them in DejaVu Sans, whose 8 points measure (GetTextMetricsW, and
// GetTextExtentPoint32W of the 52 letters A-Z a-z, average = (width / 26 + 1) / 2)
//     96 DPI: 13 px high, 359 px, average 7
//    120 DPI: 15 px high, 420 px, average 8
//    144 DPI: 19 px high, 513 px, average 10
// (On Windows MS Shell Dlg is Tahoma, 6 x 13 at 96 DPI: other numbers, the
// same rule.) E.g. the request form, 300 x 336 units at 96 DPI:
// 300 x 7 / 4 = 525, 336 x 13 / 8 = 546.
struct TemplateSizes {
    const char* dialog;
    SIZE at96, at120, at144;
};
const TemplateSizes kClientSizes[] = {
    {"RequestForm", {525, 546}, {600, 630}, {750, 798}},                       // 300 x 336 units
    {"RequestHistory", {803, 369}, {918, 426}, {1148, 539}},                   // 459 x 227
    {"AboutBox", {298, 101}, {340, 116}, {425, 147}},                          // 170 x 62
    {"Feedback", {567, 561}, {648, 647}, {810, 819}},                          // 324 x 345
    {"ItTicketForm", {513, 496}, {586, 572}, {733, 724}},                      // 293 x 305
    {"ItTicketFormOfTheContactCustomer", {513, 496}, {586, 572}, {733, 724}},  // the same template
    {"TicketHistory", {439, 494}, {502, 570}, {628, 722}},                     // 251 x 304
    {"MessageBox", {488, 195}, {558, 225}, {698, 285}},                        // 279 x 120
    {"ReplyPopup", {404, 163}, {462, 188}, {578, 238}},                        // 231 x 100
};

std::vector<ScaledCase> scaledCases() {
    std::vector<ScaledCase> cases;
    for (const DialogCase& c : dialogCases()) {
        const auto sizes = std::find_if(std::begin(kClientSizes), std::end(kClientSizes),
                                        [&](const TemplateSizes& t) { return std::string(t.dialog) == c.name; });
        if (sizes == std::end(kClientSizes)) throw std::logic_error(std::string("no sizes for ") + c.name);
        cases.push_back({&c, 96, sizes->at96});
        cases.push_back({&c, 120, sizes->at120});
        cases.push_back({&c, 144, sizes->at144});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogLayoutTest, ::testing::ValuesIn(scaledCases()), [](const auto& item) {
    return std::string(item.param.dialog->name) + "At" + std::to_string(item.param.dpi);
});

}  // namespace
}  // namespace tiqora::test
