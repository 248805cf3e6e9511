// The demo's tour of Tiqora Desk, run in the demo's Wine machine by
// tools/demo.sh:
//
//   demo_tour --layout         lays out the sample suite installation only
//   demo_tour --tour OUTDIR    lays it out, then runs the program in each of
//                              its modes, saves a PNG of every dialog it shows
//                              into OUTDIR and closes it the way a user would
//   demo_tour --tour OUTDIR --dpi 144
//                              the same tour with the programs at 144 DPI
//
// The tour is the table in tourRuns(): one row per program run, each with the
// dialog that run shows and the dialogs opened from it. Every run must end
// with exit code 0. Prints what it does and, at the end, each file with what
// it shows; exits non-zero at the first step that fails.
#include <windows.h>
#include <wininet.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/it_ticket/ticket_rules.h"
#include "harness/browser_routes.h"
#include "harness/machine.h"
#include "harness/screenshot.h"
#include "harness/test_paths.h"
#include "harness/ticket_files.h"
#include "harness/ui_driver.h"
#include "harness/vendor_journal.h"
#include "resource.h"
#include "win/wide_text.h"

namespace tiqora::demo {
namespace {

using test::AppProcess;
using test::DriverError;

// Brings a view's window up and returns it: `from` is the window of the view
// it is opened from (null for the first window of a run).
using Opener = std::function<HWND(const AppProcess& app, HWND from)>;
// Does what a user does to close the window.
using Closer = std::function<void(HWND window)>;

struct View {
    std::string name;                // file name without number and extension
    std::string shows;               // what the picture shows
    Opener open;
    Closer close;
    std::vector<View> openedFromIt;  // each one opened, saved and closed in turn
};

struct Run {
    std::wstring arguments;
    View view;
    // Changes the sample installation before the run, when set.
    std::function<void()> prepare = {};
    // The arguments, when they depend on what earlier runs left (they then
    // replace `arguments`).
    std::function<std::wstring()> argumentsNow = {};
    // What to show once the run has ended, given the screenshot folder.
    std::function<void(const std::wstring& folder)> afterwards = {};
};

// --- how windows come up and go ------------------------------------------------

Opener windowOf(const std::wstring& windowClass, const std::wstring& title = L"") {
    return [=](const AppProcess& app, HWND) { return app.waitForWindow(windowClass, title); };
}

Opener dialogWith(int controlId) {
    return [=](const AppProcess& app, HWND) { return app.waitForDialogWith(controlId); };
}

Opener systemMenu(UINT command, const std::wstring& windowClass, const std::wstring& title) {
    return [=](const AppProcess& app, HWND from) {
        test::systemCommand(from, command);
        return app.waitForWindow(windowClass, title);
    };
}

Closer clickOn(int controlId) {
    return [=](HWND window) { test::click(window, controlId); };
}

// A support request as a customer types it; `mobile` decides whether it
// passes the form's checks.
struct SampleRequest {
    std::wstring mobile;
};

// Fills the request form, presses Submit and returns the message box that
// answers.
Opener submitRequest(SampleRequest request) {
    return [=](const AppProcess& app, HWND form) {
        test::setText(form, IDC_REQUEST_MOBILE, request.mobile);
        test::setText(form, IDC_REQUEST_EMAIL, L"asha.verma@example.com");
        test::selectComboItem(form, IDC_REQUEST_CUSTOMER, 0);
        test::selectComboItem(form, IDC_REQUEST_ISSUE, 3);
        test::setText(form, IDC_REQUEST_DESCRIPTION, L"The full scan stops at 40% and the PC slows down.");
        test::click(form, IDC_REQUEST_SUBMIT);
        return test::waitForMessageBox(app.pid()).window;
    };
}

Opener clickToOpen(int controlId, int openedDialogControl) {
    return [=](const AppProcess& app, HWND from) {
        test::click(from, controlId);
        return app.waitForDialogWith(openedDialogControl);
    };
}

// The feedback form filled in as a customer does: Support and Other ticked,
// a two-line description typed and, unless `ratingButton` is 0, a rating
// chosen. Returns the form once it shows all of it.
HWND fillFeedback(const AppProcess& app, int ratingButton) {
    HWND form = app.waitForWindow(L"#32770", L"FeedBack");
    test::click(form, IDC_FEEDBACK_SUPPORT);
    test::click(form, IDC_FEEDBACK_OTHER);
    const std::wstring description = L"The full scan stops at 40% since the last update.\r\nThe PC slows down too.";
    test::typeText(form, IDC_FEEDBACK_DESCRIPTION, description);
    if (ratingButton) test::click(form, ratingButton);
    test::waitUntil(
        [&] {
            return test::textOf(test::control(form, IDC_FEEDBACK_DESCRIPTION)) == description &&
                   test::isChecked(form, IDC_FEEDBACK_OTHER) &&
                   (!ratingButton || !test::textOf(test::control(form, IDC_FEEDBACK_RATING_WORD)).empty());
        },
        "the feedback form to be filled in");
    return form;
}

Opener feedbackFilledIn(int ratingButton) {
    return [=](const AppProcess& app, HWND) { return fillFeedback(app, ratingButton); };
}

// Fills the feedback form, submits it while the help desk answers as
// `scenario` says, and returns the message that thanks the customer.
Opener submitFeedback(int ratingButton, std::string scenario) {
    return [=](const AppProcess& app, HWND) {
        HWND form = fillFeedback(app, ratingButton);
        test::setVendorScenario(scenario);
        test::click(form, IDOK);
        HWND box = app.waitForDialogWith(IDC_MESSAGE_SMALL);
        test::setVendorScenario("success");
        return box;
    };
}

// Presses Submit on the form the view is opened from and returns the
// message box that answers: the program's own (`ownBox`) or a standard one.
Opener submitFromForm(bool ownBox, bool emptyDescription) {
    return [=](const AppProcess& app, HWND form) {
        if (emptyDescription) test::setText(form, IDC_FEEDBACK_DESCRIPTION, L"");
        test::click(form, IDOK);
        return ownBox ? app.waitForDialogWith(IDC_MESSAGE_SMALL) : test::waitForMessageBox(app.pid()).window;
    };
}

// The IT ticket form's machine: how tickets travel ("" by SendWebRpt, "L"
// LAN, "W" web) and the customer's corporate id.
std::function<void()> ticketMachine(std::wstring itTicketServer, std::wstring corporateId) {
    return [=] {
        test::SuiteMachine::existing()
            .krlm(L"ITTicketServer", itTicketServer)
            .set(RegistrySource::SuiteConfig, L"CorporateID", corporateId);
    };
}

// Fills the IT ticket form's description (and, for the contact customer, the
// contact fields), presses Submit while the server answers as `scenario`
// says, and returns the message that answers.
Opener submitTicket(std::wstring description, std::string scenario, bool contact = false) {
    return [=](const AppProcess& app, HWND form) {
        if (contact) {
            test::setText(form, IDC_TICKET_MOBILE, L"9876543210");
            test::setText(form, IDC_TICKET_EMAIL, L"ravi.k@quorra-retail.example");
        }
        test::selectComboItem(form, IDC_TICKET_ISSUE, 1);
        test::setText(form, IDC_TICKET_DESCRIPTION, description);
        test::setVendorScenario(scenario);
        test::click(form, IDC_TICKET_SUBMIT);
        HWND box = app.waitForDialogWith(IDC_MESSAGE_SMALL);
        test::setVendorScenario("success");
        return box;
    };
}

// Web tickets delivered earlier from this machine, beside the one the tour
// sends itself: their records in the sent folder, their GUIDs in Tiqora.ini.
std::function<void()> earlierWebTickets() {
    return [] {
        ticketMachine(L"", L"CORP-1001")();
        struct Sample {
            const wchar_t* id;
            const wchar_t* guid;
            const char* title;
            const char* description;
            const char* priority;
        };
        const Sample samples[] = {
            {L"wt2041", L"3c9d0e7a-51b2-4f88-a0c6-7d2e9b14f305", "Hardware Issue",
             "The docking station no longer charges the laptop.", "2"},
            {L"wt2057", L"8e41f2c3-0d6a-4b97-b5e8-c21a7f906d4b", "Software Issue",
             "Excel crashes when a shared workbook opens: \"Book 7, Q3\".", "1"},
            {L"wt2063", L"a7f03b6e-92c4-4d1f-8b5a-6e0c3d28f917", "Network Issue",
             "No Wi-Fi on the second floor since Monday.", "0"},
        };
        for (const Sample& sample : samples) {
            WebTicketFields fields;
            fields.corpId = "CORP-1001";
            fields.licenceCode = "TQ4711-2026-ORV";
            fields.ip = "192.0.2.15";
            fields.computerName = "DESK-7";
            fields.userName = "ravi.k";
            fields.issueTitle = sample.title;
            fields.description = sample.description;
            fields.priority = sample.priority;
            fields.submitTime = "2026-12-08 10:15:00";
            test::SuiteMachine::existing().ticketIni(L"WEB", sample.id, sample.guid);
            test::writeFileBytes(test::SuiteMachine::sentFolder() + L"\\W_" + sample.id + L".txt", webTicketBody(fields));
        }
    };
}

// Opens the ticket history from the IT ticket form's link.
Opener historyLink() {
    return [](const AppProcess& app, HWND form) {
        test::clickLink(form, IDC_TICKET_HISTORY_LINK);
        return app.waitForDialogWith(IDC_TRACK_LIST);
    };
}

// Clicks a row of the ticket history with the pointer: the panel shows the
// ticket and its page opens in the browser, the history staying open.
Opener historyRow(int row) {
    return [=](const AppProcess&, HWND history) {
        test::clickListRow(test::control(history, IDC_TRACK_LIST), row);
        test::waitUntil([&] { return !test::textOf(test::control(history, IDC_TRACK_ID)).empty(); },
                        "the clicked ticket in the panel");
        return history;
    };
}

// The reply notification an administrator's answer to a ticket delivered
// earlier in the tour would bring: the first ticket listed under `section`
// ("WEB" or "LAN") of the IT ticket folder's Tiqora.ini, as
// "/SAReply=<kind>,<ticket id>,<GUID>".
std::function<std::wstring()> replyToListedTicket(std::wstring section, std::wstring kind) {
    return [=] {
        const std::wstring ini = test::SuiteMachine::itTicketFolder() + L"\\Tiqora.ini";
        std::vector<wchar_t> keys(32768, L'\0');
        GetPrivateProfileSectionW(section.c_str(), keys.data(), static_cast<DWORD>(keys.size()), ini.c_str());
        const std::wstring first = keys.data();  // "<ticket id>=<GUID>"
        const size_t equals = first.find(L'=');
        if (equals == std::wstring::npos)
            throw std::runtime_error("no ticket listed under " + toUtf8(section) + " of " + toUtf8(ini));
        return L"/SAReply=" + kind + L"," + first.substr(0, equals) + L"," + first.substr(equals + 1);
    };
}

// What the page a user opened from the popup shows: the browser stand-in
// only records the address it was given, so the tour fetches that address
// from the local vendor services itself, prints the page and keeps it as
// ticket-page.html beside the screenshots.
void showOpenedTicketPage(const std::wstring& folder) {
    test::waitUntil([] { return !test::openedPages().empty(); }, "the browser to be given the ticket page");
    const std::string commandLine = test::openedPages().back().commandLine;
    const size_t open = commandLine.rfind("\"http");
    if (open == std::string::npos) throw DriverError("no address in the browser's command line: " + commandLine);
    const std::string address = commandLine.substr(open + 1, commandLine.find('"', open + 1) - open - 1);
    std::cout << "  the browser was started as: " << commandLine << std::endl;

    HINTERNET internet = InternetOpenW(L"Tiqora demo tour", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET page = internet ? InternetOpenUrlW(internet, fromUtf8(address).c_str(), nullptr, 0,
                                                 INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0)
                              : nullptr;
    std::string html;
    char buffer[4096];
    DWORD read = 0;
    while (page && InternetReadFile(page, buffer, sizeof buffer, &read) && read > 0) html.append(buffer, read);
    if (page) InternetCloseHandle(page);
    if (internet) InternetCloseHandle(internet);
    if (html.empty()) throw DriverError("the ticket page " + address + " did not load");
    test::writeFileBytes(folder + L"\\ticket-page.html", html);
    std::cout << "  the page it opens (ticket-page.html):\n" << html << std::endl;
}

// Clicks the IT ticket form's Screenshot link and returns the confirmation.
Opener screenshotWithLink() {
    return [](const AppProcess& app, HWND form) {
        test::clickLink(form, IDC_TICKET_SCREENSHOT_LINK);
        return app.waitForDialogWith(IDC_MESSAGE_SMALL);
    };
}

// The picture viewer the link starts once the confirmation is dismissed
// (Wine's iexplore for a .jpg, which would keep running): waits for it and
// ends it, by its process id.
void endPictureViewer() {
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (GetTickCount64() < deadline) {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        DWORD viewer = 0;
        for (BOOL more = Process32FirstW(snapshot, &entry); more && !viewer; more = Process32NextW(snapshot, &entry))
            if (lstrcmpiW(entry.szExeFile, L"iexplore.exe") == 0) viewer = entry.th32ProcessID;
        CloseHandle(snapshot);
        if (viewer) {
            if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, viewer)) {
                TerminateProcess(process, 0);
                WaitForSingleObject(process, 5000);
                CloseHandle(process);
            }
            std::cout << "  the picture opened in the viewer (ended)" << std::endl;
            return;
        }
        Sleep(50);
    }
    std::cout << "  no picture viewer started" << std::endl;
}

Closer dismissScreenshotConfirmation() {
    return [](HWND window) {
        test::click(window, IDC_MESSAGE_OK);
        endPictureViewer();
    };
}

constexpr wchar_t kTicketDescription[] =
    L"Outlook asks for my password every few minutes since this morning.\r\nThe VPN is connected.";

// Prints the record files of the pending and sent folders.
void listTicketFolders(const char* when) {
    for (const auto& [name, folder] : {std::pair<const char*, std::wstring>{"pending", test::SuiteMachine::pendingFolder()},
                                       {"sent", test::SuiteMachine::sentFolder()}}) {
        std::cout << "  " << when << ", " << name << " folder:";
        for (const std::string& file : test::filesIn(folder)) std::cout << " " << file;
        std::cout << std::endl;
    }
}

// Every dialog the program shows today.
std::vector<Run> tourRuns() {
    return {
        {L"",
         {"request-form", "support request form (no switch)", windowOf(L"Tiqora_Desk"), clickOn(IDC_REQUEST_CLOSE),
          {{"about-box", "About box, opened from the request form's system menu",
            systemMenu(IDM_ABOUTBOX, L"#32770", L"About Vandrel"), clickOn(IDOK), {}},
           {"request-check-message", "a request with a 9-digit mobile number: the form's check",
            submitRequest({L"987654321"}), clickOn(IDOK), {}},
           {"request-thank-you", "a valid request: the call-tracking id (the program then ends)",
            submitRequest({L"9876543210"}), clickOn(IDOK), {}}}}},
        {L"",
         {"request-form-with-history", "support request form once a request was recorded",
          windowOf(L"Tiqora_Desk"), clickOn(IDC_REQUEST_CLOSE),
          {{"request-history", "request history, opened with History",
            clickToOpen(IDC_REQUEST_HISTORY, IDC_HISTORY_LIST), clickOn(IDC_HISTORY_CLOSE), {}}}}},
        {L"/sys",
         {"it-ticket-form", "IT ticket form (/sys), tickets go to the web console",
          dialogWith(IDC_TICKET_X), clickOn(IDC_TICKET_CANCEL),
          {{"it-ticket-no-description", "IT ticket Submit without a description: the form asks for one",
            submitTicket(L"   ", "success"), clickOn(IDC_MESSAGE_OK), {}},
           {"it-ticket-web-submitted", "IT ticket delivered to the web console, with its ticket id",
            submitTicket(kTicketDescription, "success"), clickOn(IDC_MESSAGE_OK), {}}}},
         ticketMachine(L"", L"CORP-1001")},
        {L"/sys",
         {"it-ticket-form-lan", "IT ticket form delivering to the LAN server (ITTicketServer=L)",
          dialogWith(IDC_TICKET_X), clickOn(IDC_TICKET_CANCEL),
          {{"it-ticket-lan-submitted", "IT ticket delivered to the LAN server, with its ticket id",
            submitTicket(kTicketDescription, "success"), clickOn(IDC_MESSAGE_OK), {}}}},
         ticketMachine(L"L", L"CORP-1001")},
        {L"/sys",
         {"it-ticket-form-screenshot", "IT ticket form with its Screenshot link (web console)",
          dialogWith(IDC_TICKET_X), clickOn(IDC_TICKET_CANCEL),
          {{"it-ticket-screenshot-taken", "Screenshot link clicked: the picture is saved (it then opens)",
            screenshotWithLink(), dismissScreenshotConfirmation(), {}},
           {"it-ticket-screenshot-submitted", "IT ticket with its screenshot: the picture is uploaded after it",
            submitTicket(kTicketDescription, "success"), clickOn(IDC_MESSAGE_OK), {}}}},
         ticketMachine(L"", L"CORP-1001")},
        {L"/sys",
         {"it-ticket-form-history", "IT ticket form with its Ticket History link (web tickets sent before)",
          dialogWith(IDC_TICKET_X), clickOn(IDC_TICKET_CANCEL),
          {{"ticket-history", "ticket history, opened from the form's link: this machine's web tickets",
            historyLink(), clickOn(IDC_TRACK_CLOSE),
            {{"ticket-history-selected", "a ticket clicked: its details below, its page opened in the browser",
              historyRow(1), clickOn(IDC_TRACK_CLOSE), {}}}}}},
         earlierWebTickets()},
        {L"/sys",
         {"it-ticket-form-contact", "IT ticket form of the contact customer (QRS-T2002): mobile and e-mail",
          dialogWith(IDC_TICKET_X), clickOn(IDC_TICKET_CANCEL),
          {{"it-ticket-failed", "IT ticket the web console did not create: kept for the resend",
            submitTicket(kTicketDescription, "ticket-failed", true), clickOn(IDC_MESSAGE_OK), {}}}},
         ticketMachine(L"W", L"QRS-T2002")},
        // The ticket the console refused waits in the pending folder; "/sysp"
        // sends it again, silently, and moves it to the sent folder.
        {L"/sysp", {}, [] { listTicketFolders("before /sysp"); }, {},
         [](const std::wstring&) { listTicketFolders("after /sysp"); }},
        {L"/feedback",
         {"feedback-form", "feedback form (/feedback)", windowOf(L"#32770", L"FeedBack"), clickOn(IDCANCEL), {}}},
        {L"/feedback",
         {"feedback-form-rated", "feedback form with the rating Good chosen, two issue types ticked, a description",
          feedbackFilledIn(IDC_FEEDBACK_RATING_4), clickOn(IDCANCEL), {}}},
        {L"/feedback",
         {"feedback-form-unrated", "feedback form filled in without a rating", feedbackFilledIn(0), clickOn(IDCANCEL),
          {{"feedback-no-rating", "feedback Submit without a rating: the form asks for one",
            submitFromForm(true, false), clickOn(IDC_MESSAGE_OK), {}},
           {"feedback-no-description", "feedback Submit with an empty description", submitFromForm(false, true),
            clickOn(IDOK), {}}}}},
        {L"/feedback",
         {"feedback-thanks-average", "feedback rated Average, confirmed by the help desk (the page then opens)",
          submitFeedback(IDC_FEEDBACK_RATING_3, "success"), clickOn(IDC_MESSAGE_OK), {}}},
        {L"/feedback",
         {"feedback-thanks-excellent", "feedback rated Excellent, confirmed by the help desk (the page then opens)",
          submitFeedback(IDC_FEEDBACK_RATING_5, "success"), clickOn(IDC_MESSAGE_OK), {}}},
        {L"/feedback",
         {"feedback-thanks-unconfirmed", "feedback rated Good, the help desk's reply does not confirm it",
          submitFeedback(IDC_FEEDBACK_RATING_4, "html-error"), clickOn(IDC_MESSAGE_OK), {}}},
        {L"",
         {"reply-popup-lan", "reply notification for the ticket delivered to the LAN server (closed with X)",
          dialogWith(IDC_POPUP_OPEN), clickOn(IDC_POPUP_CLOSE), {}},
         {}, replyToListedTicket(L"LAN", L"L")},
        {L"",
         {"reply-popup-web", "reply notification for the ticket delivered to the web console; Open Ticket opens "
                             "its page (ticket-page.html) and the program ends",
          dialogWith(IDC_POPUP_OPEN), clickOn(IDC_POPUP_OPEN), {}},
         [] {
             // The customer who raised the web ticket, and chrome registered with the shell.
             ticketMachine(L"", L"CORP-1001")();
             test::SuiteMachine::existing().browserRoutes(test::AppPaths);
         },
         replyToListedTicket(L"WEB", L"C"), showOpenedTicketPage},
    };
}

// --- the tour ------------------------------------------------------------------

std::string quoted(const std::wstring& text) {
    std::string result = "\"";
    result += toUtf8(text);
    result += '"';
    return result;
}

std::string describeRun(const std::wstring& arguments) {
    return "TiqoraDesk.exe " + (arguments.empty() ? std::string("(no switch)") : toUtf8(arguments));
}

struct Saved {
    std::string file;
    std::string shows;
};

class Tour {
public:
    explicit Tour(std::wstring folder) : folder_(std::move(folder)) {}

    void take(const Run& run) {
        if (run.prepare) run.prepare();
        const std::wstring arguments = run.argumentsNow ? run.argumentsNow() : run.arguments;
        std::cout << "run " << describeRun(arguments) << std::endl;
        AppProcess app(test::SuiteMachine::program(), arguments);
        // A run without a view shows nothing ("/sysp"): it is only waited for.
        if (run.view.open) visit(app, run.view, nullptr);
        const DWORD code = app.waitForExit();
        if (code != 0) throw DriverError(describeRun(arguments) + " ended with exit code " + std::to_string(code));
        if (run.afterwards) run.afterwards(folder_);
    }

    const std::vector<Saved>& saved() const { return saved_; }

private:
    void visit(const AppProcess& app, const View& view, HWND from) {
        HWND window = view.open(app, from);
        save(window, view);
        for (const View& inner : view.openedFromIt) visit(app, inner, window);
        // A view opened from this one may have ended the program (a sent
        // request does) or closed this window (the ticket history's row view
        // closes the history): then there is nothing left to close. A closed
        // dialog is hidden before it is destroyed, so hidden counts as closed.
        const auto open = [&] { return IsWindow(window) && IsWindowVisible(window); };
        try {
            if (open()) view.close(window);
        } catch (const DriverError&) {
            if (open()) throw;
        }
        test::waitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); },
                        "the " + view.name + " window to close");
    }

    void save(HWND window, const View& view) {
        std::string file = std::to_string(saved_.size() + 1);
        if (file.size() < 2) file.insert(0, 1, '0');
        file += "-" + view.name + ".png";
        if (!test::saveWindowPng(window, folder_ + L"\\" + fromUtf8(file)))
            throw std::runtime_error("cannot save the picture " + file);
        std::cout << "  saved " << file << std::endl;
        saved_.push_back({file, view.shows});
    }

    std::wstring folder_;
    std::vector<Saved> saved_;
};

int tour(const std::wstring& folder) {
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        throw std::runtime_error("cannot create the folder " + quoted(folder));
    Tour tour(folder);
    for (const Run& run : tourRuns()) tour.take(run);
    std::cout << "\nScreenshots:\n";
    for (const Saved& saved : tour.saved()) std::cout << "  " << saved.file << "  " << saved.shows << "\n";
    return 0;
}

// The sample installation: the test machine's standard suite, with the web
// console reached over TLS (the local vendor services' TLS port, whose test
// authority the demo's Wine machine trusts), so the tour's web tickets and
// their screenshot travel encrypted and their pages open with https://.
void layOutSampleInstallation() {
    test::SuiteMachine machine = test::SuiteMachine::standard();
    try {
        machine.vendorHost(L"WebConsole", L"https://localhost:" + std::to_wstring(test::tlsPort()));
    } catch (const std::runtime_error&) {
        // No vendor services: the compiled-in hosts stay, as standard() left them.
    }
}

// The tour's programs run at the DPI asked for; 96 comes back when it ends.
struct DpiForTheTour {
    explicit DpiForTheTour(DWORD dpi) { test::setDpiOfNewPrograms(dpi); }
    ~DpiForTheTour() {
        try {
            test::setDpiOfNewPrograms(96);
        } catch (const std::exception&) {
        }
    }
    DpiForTheTour(const DpiForTheTour&) = delete;
    DpiForTheTour& operator=(const DpiForTheTour&) = delete;
};

int usage() {
    std::cerr << "usage: demo_tour --layout | --tour OUTDIR [--dpi N]\n";
    return 2;
}

}  // namespace
}  // namespace tiqora::demo

int wmain(int argc, wchar_t** argv) {
    using namespace tiqora::demo;
    const std::vector<std::wstring> args(argv + 1, argv + argc);
    const bool layout = args.size() == 1 && args[0] == L"--layout";
    const bool tourMode = (args.size() == 2 || (args.size() == 4 && args[2] == L"--dpi")) && args[0] == L"--tour";
    if (!layout && !tourMode) return usage();
    const DWORD dpi = args.size() == 4 ? static_cast<DWORD>(std::wcstoul(args[3].c_str(), nullptr, 10)) : 96;
    if (dpi < 96 || dpi > 480) return usage();
    try {
        // Both modes lay the installation out; the tour does it again right
        // before it starts, so it always meets the same machine.
        layOutSampleInstallation();
        if (tourMode) {
            const DpiForTheTour atDpi(dpi);
            return tour(args[1]);
        }
        std::cout << "sample suite installation laid out in "
                  << tiqora::toUtf8(tiqora::test::SuiteMachine::installFolder()) << std::endl;
        return 0;
    } catch (const std::exception& error) {
        std::cout << std::flush;
        std::cerr << "demo_tour: " << error.what() << std::endl;
        return 1;
    }
}
