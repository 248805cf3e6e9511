// Start-up and dispatch of the real TiqoraDesk.exe, driven through its
// windows: which window each command line shows, the single-instance guards,
// the chat check, the hidden main window of the child modes, and the ways out.
#include <gtest/gtest.h>

#include <regex>

#include "harness/machine.h"
#include "harness/ticket_files.h"
#include "harness/ui_driver.h"
#include "harness/vendor_journal.h"
#include "resource.h"
#include "win/wide_text.h"

namespace tiqora::test {
namespace {

constexpr wchar_t kMainClass[] = L"Tiqora_Desk";

// The main dialog window of a process, visible or not.
HWND mainWindowOf(const AppProcess& app) {
    auto all = app.windows(kMainClass, L"", false);
    return all.empty() ? nullptr : all.front();
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { SuiteMachine::standard(); }
};

// Each mode's form and each way out of it: the window the command line shows,
// the main window kept hidden behind a child form, and exit code 0 however
// the user leaves.
enum class FormShown { Request, Ticket, Feedback };
enum class WayOut { Button, CloseCommand, Escape };

struct FormCase {
    const char* name;
    const wchar_t* arguments;
    FormShown form;
    WayOut way;
    int button;  // the control clicked for WayOut::Button
};

const FormCase kFormCases[] = {
    {"NoSwitchRequestFormClose", L"", FormShown::Request, WayOut::Button, IDC_REQUEST_CLOSE},
    {"NoSwitchRequestFormAltF4", L"", FormShown::Request, WayOut::CloseCommand, 0},
    {"SysTicketFormCancel", L"/sys", FormShown::Ticket, WayOut::Button, IDC_TICKET_CANCEL},
    {"UpperCaseSysTicketFormCancel", L"/SYS", FormShown::Ticket, WayOut::Button, IDC_TICKET_CANCEL},
    {"SysTicketFormX", L"/sys", FormShown::Ticket, WayOut::Button, IDC_TICKET_X},
    // The IT ticket form leaves Escape to the dialog, which cancels (the
    // request form swallows it: EscapeDoesNothingInTheRequestForm).
    {"SysTicketFormEscape", L"/sys", FormShown::Ticket, WayOut::Escape, 0},
    {"FeedbackFormCancel", L"/feedback", FormShown::Feedback, WayOut::Button, IDCANCEL},
};

void PrintTo(const FormCase& c, std::ostream* out) { *out << c.name; }

class StartupFormTest : public StartupTest, public ::testing::WithParamInterface<FormCase> {};

TEST_P(StartupFormTest, ShowsItsFormAndEveryWayOutEndsWithZero) {
    const FormCase& c = GetParam();
    AppProcess app(SuiteMachine::program(), c.arguments);
    HWND form = nullptr;
    switch (c.form) {
    case FormShown::Request:
        form = app.waitForWindow(kMainClass);
        EXPECT_EQ(textOf(form), L"Tiqora Desk");
        break;
    case FormShown::Ticket:
        form = app.waitForDialogWith(IDC_TICKET_X);
        break;
    case FormShown::Feedback:
        form = app.waitForWindow(L"#32770", L"FeedBack");
        EXPECT_TRUE(GetWindowLongPtrW(form, GWL_EXSTYLE) & WS_EX_TOPMOST);
        break;
    }
    if (c.form != FormShown::Request) {
        HWND main = mainWindowOf(app);
        ASSERT_NE(main, nullptr);
        EXPECT_FALSE(isVisible(main));
        EXPECT_NE(form, main);
    }
    switch (c.way) {
    case WayOut::Button:
        click(form, c.button);
        break;
    case WayOut::CloseCommand:
        systemCommand(form, SC_CLOSE);
        break;
    case WayOut::Escape:
        pressKey(form, VK_ESCAPE);
        break;
    }
    EXPECT_EQ(app.waitForExit(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Modes, StartupFormTest, ::testing::ValuesIn(kFormCases),
                         [](const auto& item) { return std::string(item.param.name); });

TEST_F(StartupTest, EscapeDoesNothingInTheRequestForm) {
    AppProcess app(SuiteMachine::program(), L"");
    HWND form = app.waitForWindow(kMainClass);
    pressKey(form, VK_ESCAPE);
    // Posted messages are handled in order: once the later Min click has
    // minimised the form, the Escape before it has been handled too.
    click(form, IDC_REQUEST_MIN);
    waitUntil([&] { return IsIconic(form) != FALSE; }, "the form to minimise");
    EXPECT_TRUE(app.running());
    EXPECT_TRUE(IsWindow(form));
    click(form, IDC_REQUEST_CLOSE);
    EXPECT_EQ(app.waitForExit(), 0u);
}

TEST_F(StartupTest, ASecondRequestFormEndsAtOnceWhileTheFirstRuns) {
    // A pending ticket and a service that takes long to answer: a "/sysp"
    // that did not stop at the guard would send it and wait.
    SuiteMachine::existing().pendingFile(L"W_7.txt", R"({"IssueTitle":"queued"})");
    setVendorScenario("slow");
    clearVendorJournal();
    AppProcess first(SuiteMachine::program(), L"");
    HWND form = first.waitForWindow(kMainClass);
    for (const wchar_t* arguments : {L"", L"/sys", L"/FEEDBACK", L"/sysp"}) {
        AppProcess second(SuiteMachine::program(), arguments);
        EXPECT_TRUE(second.endsWithin(5000)) << "arguments: " << toUtf8(arguments);
        EXPECT_EQ(second.waitForExit(), 0u) << "arguments: " << toUtf8(arguments);
    }
    EXPECT_TRUE(vendorRequests().empty());
    EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), std::vector<std::string>{"W_7.txt"});
    EXPECT_TRUE(first.running());
    click(form, IDC_REQUEST_CLOSE);
    EXPECT_EQ(first.waitForExit(), 0u);
}

// A visible top-level window of the test process that holds the foreground.
class ForegroundWindow {
public:
    ForegroundWindow()
        : window_(CreateWindowExW(0, L"STATIC", L"another program", WS_POPUP | WS_VISIBLE, 0, 0, 80, 30, nullptr,
                                  nullptr, nullptr, nullptr)) {
        SetForegroundWindow(window_);
    }
    ~ForegroundWindow() { DestroyWindow(window_); }
    ForegroundWindow(const ForegroundWindow&) = delete;
    ForegroundWindow& operator=(const ForegroundWindow&) = delete;
    HWND handle() const { return window_; }

private:
    HWND window_;
};

TEST_F(StartupTest, ASecondStartBringsTheOpenFormToTheFront) {
    struct Case {
        const wchar_t* first;
        const wchar_t* second;
    } cases[] = {{L"", L"/sys"}, {L"/sys", L"/sys"}, {L"/sys", L""}};
    for (const Case& c : cases) {
        const std::string what = toUtf8(c.first) + " then " + toUtf8(c.second);
        AppProcess first(SuiteMachine::program(), c.first);
        HWND form = *c.first ? first.waitForDialogWith(IDC_TICKET_X) : first.waitForWindow(kMainClass);
        ForegroundWindow other;
        waitUntil([&] { return GetForegroundWindow() == other.handle(); }, "another window to take the foreground");

        AppProcess second(SuiteMachine::program(), c.second);
        EXPECT_EQ(second.waitForExit(), 0u) << what;
        waitUntil([&] { return GetForegroundWindow() == form; }, "the open form to come to the front (" + what + ")");
        EXPECT_TRUE(first.running()) << what;
        click(form, *c.first ? IDC_TICKET_X : IDC_REQUEST_CLOSE);
        EXPECT_EQ(first.waitForExit(), 0u) << what;
    }
}

TEST_F(StartupTest, PendingResendShowsNothingAndEndsWithZero) {
    AppProcess app(SuiteMachine::program(), L"/sysp");
    bool anyWindowShown = false;
    waitUntil(
        [&] {
            if (!app.windows().empty()) anyWindowShown = true;
            return !app.running();
        },
        "the resend run to end");
    EXPECT_FALSE(anyWindowShown);
    EXPECT_EQ(app.waitForExit(), 0u);
}

TEST_F(StartupTest, OnlyTheWholeTailFromTheLastSlashSelectsAMode) {
    // "/sys extra" and "/feedback /x" match no mode: the request form opens,
    // and "/sys extra" takes no guard, so two of them run side by side.
    AppProcess first(SuiteMachine::program(), L"/sys extra");
    AppProcess second(SuiteMachine::program(), L"/sys extra");
    HWND form1 = first.waitForWindow(kMainClass, L"Tiqora Desk");
    HWND form2 = second.waitForWindow(kMainClass, L"Tiqora Desk");
    click(form1, IDC_REQUEST_CLOSE);
    click(form2, IDC_REQUEST_CLOSE);
    EXPECT_EQ(first.waitForExit(), 0u);
    EXPECT_EQ(second.waitForExit(), 0u);

    AppProcess third(SuiteMachine::program(), L"/feedback /x");
    click(third.waitForWindow(kMainClass, L"Tiqora Desk"), IDC_REQUEST_CLOSE);
    EXPECT_EQ(third.waitForExit(), 0u);
}

TEST_F(StartupTest, EachReplyNotificationRunsOnce) {
    AppProcess first(SuiteMachine::program(), L"/SAReply=L,123,x");
    HWND popup = first.waitForDialogWith(IDC_POPUP_CLOSE);
    EXPECT_FALSE(isVisible(mainWindowOf(first)));

    AppProcess again(SuiteMachine::program(), L"/SAReply=L,123,x");
    EXPECT_EQ(again.waitForExit(), 0u);

    AppProcess other(SuiteMachine::program(), L"/SAReply=L,124,y");
    HWND otherPopup = other.waitForDialogWith(IDC_POPUP_CLOSE);
    // A reply notification does not take the forms' guard either.
    AppProcess form(SuiteMachine::program(), L"");
    HWND requestForm = form.waitForWindow(kMainClass);

    EXPECT_TRUE(first.running());
    click(popup, IDC_POPUP_CLOSE);
    click(otherPopup, IDC_POPUP_CLOSE);
    click(requestForm, IDC_REQUEST_CLOSE);
    EXPECT_EQ(first.waitForExit(), 0u);
    EXPECT_EQ(other.waitForExit(), 0u);
    EXPECT_EQ(form.waitForExit(), 0u);
}

// A top-level window of the test process standing for the administrator's
// chat window.
class ChatWindow {
public:
    explicit ChatWindow(const std::wstring& title)
        : window_(CreateWindowExW(0, L"STATIC", title.c_str(), WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr,
                                  nullptr)) {}
    ~ChatWindow() { DestroyWindow(window_); }
    ChatWindow(const ChatWindow&) = delete;
    ChatWindow& operator=(const ChatWindow&) = delete;

private:
    HWND window_;
};

TEST_F(StartupTest, AnOpenChatAboutTheTicketStopsItsReplyNotification) {
    ChatWindow chat(L"Orvantis Admin - IT Ticket | 123 - Chat");
    AppProcess app(SuiteMachine::program(), L"/SAReply=L,123,x");
    EXPECT_EQ(app.waitForExit(), 0u);
    const std::regex expected(
        R"(\d{1,2}/\d{2}/\d{4} \d{2}:\d{2}  :  Admin already chatting\r\n)"
        R"(\d{1,2}/\d{2}/\d{4} \d{2}:\d{2}  :  Orvantis Admin - IT Ticket \| 123 - Chat\r\n)");
    EXPECT_TRUE(std::regex_match(SuiteMachine::ticketLog(), expected)) << SuiteMachine::ticketLog();
}

TEST_F(StartupTest, TheChatCheckLooksForTheTicketThePopupWouldShow) {
    // An empty field is skipped: the popup would show ticket 1234, so the
    // chat about ticket 1234 stops it.
    ChatWindow chat(L"IT Ticket | 1234 ");
    AppProcess app(SuiteMachine::program(), L"/SAReply=L,,1234,g");
    EXPECT_EQ(app.waitForExit(), 0u);
    EXPECT_NE(SuiteMachine::ticketLog().find("Admin already chatting"), std::string::npos) << SuiteMachine::ticketLog();
}

TEST_F(StartupTest, AChatAboutAnotherTicketDoesNotStopTheNotification) {
    ChatWindow chat(L"IT Ticket | 1234 ");
    AppProcess app(SuiteMachine::program(), L"/SAReply=C,123,x");
    click(app.waitForDialogWith(IDC_POPUP_CLOSE), IDC_POPUP_CLOSE);
    EXPECT_EQ(app.waitForExit(), 0u);
    EXPECT_EQ(SuiteMachine::ticketLog(), "");
}

TEST_F(StartupTest, EveryModeOpensWhenTheLibraryLacksSendWebdata3) {
    SuiteMachine::standard().transportLibrary(L"transport_without_sendwebdata3.dll");
    {
        AppProcess app(SuiteMachine::program(), L"");
        click(app.waitForWindow(kMainClass, L"Tiqora Desk"), IDC_REQUEST_CLOSE);
        EXPECT_EQ(app.waitForExit(), 0u);
    }
    {
        AppProcess app(SuiteMachine::program(), L"/sys");
        click(app.waitForDialogWith(IDC_TICKET_X), IDC_TICKET_CANCEL);
        EXPECT_EQ(app.waitForExit(), 0u);
    }
    {
        AppProcess app(SuiteMachine::program(), L"/feedback");
        click(app.waitForWindow(L"#32770", L"FeedBack"), IDCANCEL);
        EXPECT_EQ(app.waitForExit(), 0u);
    }
}

TEST_F(StartupTest, TheSystemMenuOpensTheAboutBox) {
    AppProcess app(SuiteMachine::program(), L"");
    HWND form = app.waitForWindow(kMainClass);
    systemCommand(form, IDM_ABOUTBOX);
    HWND about = app.waitForWindow(L"#32770", L"About Vandrel");
    EXPECT_EQ(textOf(control(about, IDC_ABOUT_TEXT)), L"Vandrel, Version 1.0");
    click(about, IDOK);
    waitUntil([&] { return !IsWindow(about); }, "the About box to close");
    EXPECT_TRUE(app.running());
    click(form, IDC_REQUEST_CLOSE);
    EXPECT_EQ(app.waitForExit(), 0u);
}

}  // namespace
}  // namespace tiqora::test
