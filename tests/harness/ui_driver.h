// Drives a running TiqoraDesk.exe through its windows from another process,
// the way a user would: find its dialogs and controls, type, select, click,
// read texts and message boxes, and wait for the process to end.
//
// Every wait polls a condition against a deadline and throws DriverError
// with a clear message when the deadline passes; gtest reports it as the
// test's failure. Clicks and keys are posted, never sent: a sent message
// blocks while the target sits in a modal loop.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tiqora::test {

class DriverError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr DWORD kDefaultWaitMs = 10000;

// A program the test ran crashed: what() names the exception code and the
// crash line the program wrote to the IT ticket log (or that there is none).
class ProgramCrashed : public DriverError {
public:
    ProgramCrashed(DWORD code, const std::string& crashLine);
    DWORD code() const { return code_; }
    const std::string& crashLine() const { return crashLine_; }

private:
    DWORD code_;
    std::string crashLine_;
};

// Whether an exit code is an exception code: the program crashed.
inline bool isExceptionCode(DWORD exitCode) { return exitCode >= 0xC0000000u; }

// The last line of the IT ticket log that reports a crash, without its line
// break, among the bytes from `from` on (the whole log when it is shorter:
// it was started anew); empty when there is none.
std::string lastCrashLine(size_t from = 0);

// Polls `condition` until it holds; throws DriverError naming `what` when
// `timeoutMs` passes first.
void waitUntil(const std::function<bool()>& condition, const std::string& what, DWORD timeoutMs = kDefaultWaitMs);

// A program started by a test. The destructor ends it if it still runs, so a
// failing test leaves nothing behind.
//
// A program that ended with an exception code (0xC0000000 and above) has
// crashed, and its test fails, naming the code and where it happened: the
// program's own line about it in the IT ticket log ("Unhandled exception
// 0x... at <module>+0x..."). Every wait that sees the end throws a
// ProgramCrashed then; an AppProcess that goes without any wait having seen
// the crash adds the same failure to the test.
class AppProcess {
public:
    AppProcess(const std::wstring& program, const std::wstring& arguments);
    ~AppProcess();
    AppProcess(const AppProcess&) = delete;
    AppProcess& operator=(const AppProcess&) = delete;

    DWORD pid() const { return info_.dwProcessId; }
    bool running() const;
    // Waits for the end and returns the exit code; throws ProgramCrashed for
    // an exception code.
    DWORD waitForExit(DWORD timeoutMs = kDefaultWaitMs);
    // True when the process ended within `timeoutMs`; throws ProgramCrashed
    // when it ended with an exception code.
    bool endsWithin(DWORD timeoutMs);
    // Throws ProgramCrashed when the process has ended with an exception
    // code.
    void throwIfCrashed() const;

    // Top-level windows of this process; `className` and `title` filter when
    // not empty.
    std::vector<HWND> windows(const std::wstring& className = L"", const std::wstring& title = L"",
                              bool visibleOnly = true) const;
    // Waits for a visible top-level window of this process.
    HWND waitForWindow(const std::wstring& className, const std::wstring& title = L"",
                       DWORD timeoutMs = kDefaultWaitMs) const;
    // Waits for a visible top-level dialog of this process that has a
    // control with `controlId`.
    HWND waitForDialogWith(int controlId, DWORD timeoutMs = kDefaultWaitMs) const;

private:
    PROCESS_INFORMATION info_{};
    size_t logSizeAtStart_ = 0;  // the IT ticket log's, so that a crash line is this process's
    mutable bool crashReported_ = false;
};

// Controls.
HWND control(HWND dialog, int id);  // throws when the dialog has no such control
std::wstring textOf(HWND window);
std::wstring className(HWND window);
bool isVisible(HWND window);
void setText(HWND dialog, int id, const std::wstring& text);
// Selects an item the way a user does, so the dialog sees CBN_SELCHANGE.
void selectComboItem(HWND dialog, int id, int index);
void click(HWND dialog, int id);
// Clicks the first link of a SysLink control (a real NM_CLICK in the target).
void clickLink(HWND dialog, int id);
// The window that has the keyboard focus in the dialog's thread, or null.
HWND focusedWindow(HWND dialog);
// Posts a key press to the window that has the keyboard focus in the
// dialog's thread (the dialog itself when none has).
void pressKey(HWND dialog, UINT virtualKey);
// Sends a system command (as a system-menu choice would).
void systemCommand(HWND window, UINT command);
// Whether a check box is ticked.
bool isChecked(HWND dialog, int id);
// Types `text` into an edit control character by character, as a user does,
// so the control sees every character and its dialog every change; a line
// break ("\r\n" or "\n") is typed as one Return.
void typeText(HWND dialog, int id, const std::wstring& text);
// Presses and releases the mouse button inside a control (near its top left
// corner), as a click there would; an edit control takes the focus so.
void clickInside(HWND dialog, int id);

// A report list view of another process: the texts of its rows (a row per
// entry, `columns` texts each, read through a buffer in the target).
std::vector<std::vector<std::wstring>> listRows(HWND list, int columns);
// The texts of one row of such a list (a long list is read row by row in
// seconds: read the rows a check needs).
std::vector<std::wstring> listRow(HWND list, int row, int columns);
// Where a list view of another process stands: its rows, the first row
// shown and how many fit, the focused and the first selected row (-1: none).
struct ListPosition {
    int rowCount = 0, topRow = 0, rowsPerPage = 0, focusedRow = -1, selectedRow = -1;
};
ListPosition listPosition(HWND list);
// Clicks heading `column` of a list view with the mouse, so the list raises
// its own column-click notification.
void clickListHeading(HWND list, int column);

// Clicks row `row` of a list view with the real pointer: the pointer moves
// over the row's label and the left button goes down and up there, so the
// list selects the row and raises its own click notification.
void clickListRow(HWND list, int row);
// Clicks the list with the real pointer at the bottom of its client area,
// below its rows when they leave room there.
void clickListBelowItsRows(HWND list);

// Standard message boxes of a process.
struct MessageBoxInfo {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;
};
MessageBoxInfo waitForMessageBox(DWORD pid, DWORD timeoutMs = kDefaultWaitMs);
// Clicks the box's OK (or its only) button and waits until it is gone.
void dismissMessageBox(const MessageBoxInfo& box);

// Polls until the process ends; true when a visible top-level window of
// class `className` of the process was seen meanwhile.
bool windowSeenVisibleUntilExit(AppProcess& process, const std::wstring& className, DWORD timeoutMs = kDefaultWaitMs);

}  // namespace tiqora::test
