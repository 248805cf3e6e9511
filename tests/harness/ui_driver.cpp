#include "harness/ui_driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "harness/machine.h"
#include "win/wide_text.h"

namespace tiqora::test {

namespace {

std::string describe(const std::wstring& text) {
    std::string quoted = "\"";
    quoted += toUtf8(text);
    quoted += '"';
    return quoted;
}

struct WindowSearch {
    DWORD pid;
    const std::wstring* className;
    const std::wstring* title;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid) return TRUE;
    if (search->visibleOnly && !IsWindowVisible(window)) return TRUE;
    if (!search->className->empty() && className(window) != *search->className) return TRUE;
    if (!search->title->empty() && textOf(window) != *search->title) return TRUE;
    search->found.push_back(window);
    return TRUE;
}

}  // namespace

void waitUntil(const std::function<bool()>& condition, const std::string& what, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return;
        if (GetTickCount64() >= deadline)
            throw DriverError("timed out after " + std::to_string(timeoutMs) + " ms waiting for " + what);
        Sleep(5);
    }
}

// --- crashes -------------------------------------------------------------------

namespace {

std::string crashDescription(DWORD code, const std::string& crashLine) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(code));
    return std::string("the program crashed with exception ") + hex + "; " +
           (crashLine.empty() ? "no crash line in " + toUtf8(SuiteMachine::ticketLogPath())
                              : "its log: \"" + crashLine + "\"");
}

}  // namespace

ProgramCrashed::ProgramCrashed(DWORD code, const std::string& crashLine)
    : DriverError(crashDescription(code, crashLine)), code_(code), crashLine_(crashLine) {}

std::string lastCrashLine(size_t from) {
    const std::string log = SuiteMachine::ticketLog();
    const size_t found = log.rfind("  :  Unhandled exception ");
    if (found == std::string::npos || (from <= log.size() && found < from)) return {};
    const size_t lineBreak = log.rfind('\n', found);
    const size_t start = lineBreak == std::string::npos ? 0 : lineBreak + 1;
    const size_t end = log.find_first_of("\r\n", found);
    return log.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// --- AppProcess --------------------------------------------------------------

AppProcess::AppProcess(const std::wstring& program, const std::wstring& arguments)
    : logSizeAtStart_(SuiteMachine::ticketLog().size()) {
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    const std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &info_))
        throw DriverError("cannot start " + describe(commandLine) + " (error " + std::to_string(GetLastError()) + ")");
}

AppProcess::~AppProcess() {
    if (!info_.hProcess) return;
    if (running()) {
        TerminateProcess(info_.hProcess, 999);
        WaitForSingleObject(info_.hProcess, 5000);
    } else if (!crashReported_) {
        try {
            throwIfCrashed();
        } catch (const ProgramCrashed& crash) {
            ADD_FAILURE() << crash.what();
        }
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool AppProcess::running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

DWORD AppProcess::waitForExit(DWORD timeoutMs) {
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0)
        throw DriverError("timed out after " + std::to_string(timeoutMs) + " ms waiting for process " +
                          std::to_string(pid()) + " to end");
    throwIfCrashed();
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

bool AppProcess::endsWithin(DWORD timeoutMs) {
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    throwIfCrashed();
    return true;
}

void AppProcess::throwIfCrashed() const {
    DWORD code = 0;
    if (running() || !GetExitCodeProcess(info_.hProcess, &code) || !isExceptionCode(code)) return;
    crashReported_ = true;
    throw ProgramCrashed(code, lastCrashLine(logSizeAtStart_));
}

std::vector<HWND> AppProcess::windows(const std::wstring& wantedClass, const std::wstring& title,
                                      bool visibleOnly) const {
    WindowSearch search{pid(), &wantedClass, &title, visibleOnly, {}};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND AppProcess::waitForWindow(const std::wstring& wantedClass, const std::wstring& title, DWORD timeoutMs) const {
    HWND found = nullptr;
    waitUntil(
        [&] {
            if (!running()) {
                throwIfCrashed();
                throw DriverError("the program ended while a window " + describe(wantedClass) + " " +
                                  describe(title) + " was awaited");
            }
            auto list = windows(wantedClass, title, true);
            found = list.empty() ? nullptr : list.front();
            return found != nullptr;
        },
        "a visible window of class " + describe(wantedClass) + (title.empty() ? "" : " titled " + describe(title)),
        timeoutMs);
    return found;
}

HWND AppProcess::waitForDialogWith(int controlId, DWORD timeoutMs) const {
    HWND found = nullptr;
    waitUntil(
        [&] {
            if (!running()) {
                throwIfCrashed();
                throw DriverError("the program ended while a dialog was awaited");
            }
            for (HWND window : windows(L"", L"", true)) {
                if (GetDlgItem(window, controlId)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        "a visible dialog with control " + std::to_string(controlId), timeoutMs);
    return found;
}

// --- controls ----------------------------------------------------------------

HWND control(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    if (!item) throw DriverError("the dialog has no control " + std::to_string(id));
    return item;
}

std::wstring textOf(HWND window) {
    // WM_GETTEXT crosses processes (the system marshals it); bounded so a hung
    // target cannot hang the test.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000,
                        &copied);
    text.resize(copied);
    return text;
}

std::wstring className(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return name;
}

bool isVisible(HWND window) { return IsWindowVisible(window) != FALSE; }

void setText(HWND dialog, int id, const std::wstring& text) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(control(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                             SMTO_ABORTIFHUNG, 5000, &result))
        throw DriverError("cannot set the text of control " + std::to_string(id));
}

void selectComboItem(HWND dialog, int id, int index) {
    HWND combo = control(dialog, id);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG, 5000, &result);
    // CB_SETCURSEL raises no notification: raise the one a user's choice would.
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

void click(HWND dialog, int id) { PostMessageW(control(dialog, id), BM_CLICK, 0, 0); }

void clickLink(HWND dialog, int id) {
    HWND link = control(dialog, id);
    // Notifications cannot cross processes; a real click on the link text
    // makes the control raise NM_CLICK itself.
    const LPARAM at = MAKELPARAM(4, 4);
    PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(link, WM_LBUTTONUP, 0, at);
}

HWND focusedWindow(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) ? info.hwndFocus : nullptr;
}

void pressKey(HWND dialog, UINT virtualKey) {
    HWND target = focusedWindow(dialog);
    if (!target) target = dialog;
    const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | (static_cast<LPARAM>(scan) << 16));
    PostMessageW(target, WM_KEYUP, virtualKey, 1 | (static_cast<LPARAM>(scan) << 16) | (3LL << 30));
}

void systemCommand(HWND window, UINT command) { PostMessageW(window, WM_SYSCOMMAND, command, 0); }

bool isChecked(HWND dialog, int id) {
    DWORD_PTR state = 0;
    if (!SendMessageTimeoutW(control(dialog, id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state))
        throw DriverError("cannot read the check state of control " + std::to_string(id));
    return state == BST_CHECKED;
}

void typeText(HWND dialog, int id, const std::wstring& text) {
    HWND edit = control(dialog, id);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
        const wchar_t c = text[i] == L'\n' ? L'\r' : text[i];
        PostMessageW(edit, WM_CHAR, c, 1);
    }
}

void clickInside(HWND dialog, int id) {
    HWND target = control(dialog, id);
    const LPARAM at = MAKELPARAM(4, 4);
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(target, WM_LBUTTONUP, 0, at);
}

// --- list views ----------------------------------------------------------------

namespace {

// Memory in another process, for messages whose arguments point to buffers.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, size_t size) : size_(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) memory_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!memory_) throw DriverError("cannot reach the memory of process " + std::to_string(pid));
    }
    ~RemoteBuffer() {
        if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    void* address() const { return memory_; }
    template <typename T>
    void write(const T& value, size_t offset = 0) {
        WriteProcessMemory(process_, static_cast<char*>(memory_) + offset, &value, sizeof value, nullptr);
    }
    void read(void* target, size_t bytes, size_t offset = 0) const {
        ReadProcessMemory(process_, static_cast<const char*>(memory_) + offset, target, bytes, nullptr);
    }

private:
    size_t size_;
    HANDLE process_ = nullptr;
    void* memory_ = nullptr;
};

LRESULT sendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result))
        throw DriverError("the target did not answer message " + std::to_string(message));
    return static_cast<LRESULT>(result);
}

}  // namespace

namespace {

// The texts of rows [first, end) of a list view of another process, read
// through one buffer in the target.
std::vector<std::vector<std::wstring>> listRowRange(HWND list, int columns, int first, int end) {
    constexpr int kTextChars = 2048;
    RemoteBuffer buffer(list, sizeof(LVITEMW) + kTextChars * sizeof(wchar_t));
    const auto text = reinterpret_cast<wchar_t*>(static_cast<char*>(buffer.address()) + sizeof(LVITEMW));
    std::vector<std::vector<std::wstring>> rows;
    for (int row = first; row < end; ++row) {
        std::vector<std::wstring> cells;
        for (int column = 0; column < columns; ++column) {
            LVITEMW item{};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = kTextChars;
            buffer.write(item);
            const auto length = static_cast<size_t>(
                sendBounded(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer.address())));
            std::wstring cell(length, L'\0');
            buffer.read(cell.data(), length * sizeof(wchar_t), sizeof(LVITEMW));
            cells.push_back(cell);
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

}  // namespace

std::vector<std::vector<std::wstring>> listRows(HWND list, int columns) {
    return listRowRange(list, columns, 0, static_cast<int>(sendBounded(list, LVM_GETITEMCOUNT, 0, 0)));
}

std::vector<std::wstring> listRow(HWND list, int row, int columns) {
    const int count = static_cast<int>(sendBounded(list, LVM_GETITEMCOUNT, 0, 0));
    if (row < 0 || row >= count) throw DriverError("the list has no row " + std::to_string(row));
    return listRowRange(list, columns, row, row + 1).front();
}

ListPosition listPosition(HWND list) {
    ListPosition position;
    position.rowCount = static_cast<int>(sendBounded(list, LVM_GETITEMCOUNT, 0, 0));
    position.topRow = static_cast<int>(sendBounded(list, LVM_GETTOPINDEX, 0, 0));
    position.rowsPerPage = static_cast<int>(sendBounded(list, LVM_GETCOUNTPERPAGE, 0, 0));
    position.focusedRow = static_cast<int>(sendBounded(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    position.selectedRow = static_cast<int>(sendBounded(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return position;
}

void clickListHeading(HWND list, int column) {
    const auto header = reinterpret_cast<HWND>(sendBounded(list, LVM_GETHEADER, 0, 0));
    if (!header) throw DriverError("the list has no header");
    RemoteBuffer buffer(header, sizeof(RECT));
    if (!sendBounded(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(buffer.address())))
        throw DriverError("the list has no column " + std::to_string(column));
    RECT rect;
    buffer.read(&rect, sizeof rect);
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(header, WM_LBUTTONUP, 0, at);
}

namespace {

// Moves the real pointer to `at` (screen) and clicks the left button there.
void clickWithPointer(POINT at) {
    SetCursorPos(at.x, at.y);
    INPUT clicks[2] = {};
    for (INPUT& input : clicks) input.type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    if (SendInput(2, clicks, sizeof(INPUT)) != 2) throw DriverError("the pointer's click was not taken");
}

}  // namespace

void clickListRow(HWND list, int row) {
    RemoteBuffer buffer(list, sizeof(RECT));
    RECT rect{};
    rect.left = LVIR_LABEL;
    buffer.write(rect);
    if (!sendBounded(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer.address())))
        throw DriverError("the list has no row " + std::to_string(row));
    buffer.read(&rect, sizeof rect);
    POINT at{rect.left + 6, (rect.top + rect.bottom) / 2};
    ClientToScreen(list, &at);
    clickWithPointer(at);
}

void clickListBelowItsRows(HWND list) {
    RECT client{};
    GetClientRect(list, &client);
    LONG rowsEnd = client.top;
    const LRESULT count = sendBounded(list, LVM_GETITEMCOUNT, 0, 0);
    if (count > 0) {
        RemoteBuffer buffer(list, sizeof(RECT));
        RECT rect{};
        rect.left = LVIR_BOUNDS;
        buffer.write(rect);
        if (!sendBounded(list, LVM_GETITEMRECT, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(buffer.address())))
            throw DriverError("the list's last row has no place");
        buffer.read(&rect, sizeof rect);
        rowsEnd = rect.bottom;
    }
    if (client.bottom - rowsEnd < 6) throw DriverError("the list has no room below its rows");
    POINT at{client.left + 10, (rowsEnd + client.bottom) / 2};
    ClientToScreen(list, &at);
    clickWithPointer(at);
}

// --- message boxes -------------------------------------------------------------

MessageBoxInfo waitForMessageBox(DWORD pid, DWORD timeoutMs) {
    MessageBoxInfo box;
    waitUntil(
        [&] {
            const std::wstring dialogClass = L"#32770";
            const std::wstring anyTitle;
            WindowSearch search{pid, &dialogClass, &anyTitle, true, {}};
            EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
            for (HWND window : search.found) {
                if (HWND text = GetDlgItem(window, 0xFFFF)) {
                    box = {window, textOf(window), textOf(text)};
                    return true;
                }
            }
            return false;
        },
        "a message box of process " + std::to_string(pid), timeoutMs);
    return box;
}

void dismissMessageBox(const MessageBoxInfo& box) {
    HWND button = GetDlgItem(box.window, IDOK);
    if (!button) button = GetDlgItem(box.window, IDCANCEL);
    if (!button) throw DriverError("the message box has no OK button");
    PostMessageW(button, BM_CLICK, 0, 0);
    waitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); }, "the message box to close");
}

bool windowSeenVisibleUntilExit(AppProcess& process, const std::wstring& wantedClass, DWORD timeoutMs) {
    bool seen = false;
    waitUntil(
        [&] {
            if (!process.windows(wantedClass, L"", true).empty()) seen = true;
            return !process.running();
        },
        "the program to end", timeoutMs);
    process.throwIfCrashed();
    return seen;
}

}  // namespace tiqora::test
