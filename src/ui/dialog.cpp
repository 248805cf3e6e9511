#include "ui/dialog.h"

#include <unordered_map>

namespace tiqora::ui {

namespace {

// The controls bound to objects, with the window procedure each had before.
// Kept here rather than in window properties or the common controls'
// subclass list: under Wine each property lookup is a round trip to the
// server, which made filling a list of 20,000 rows take seconds instead of
// a fraction of one. The program has one user-interface thread.
struct Binding {
    Control* control;
    WNDPROC previous;
};

std::unordered_map<HWND, Binding>& bindings() {
    static std::unordered_map<HWND, Binding> map;
    return map;
}

bool IsColourMessage(UINT message) {
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

}  // namespace

// --- Control ---------------------------------------------------------------

Control::~Control() { Detach(); }

bool Control::Attach(HWND dialog, int id) { return AttachWindow(GetDlgItem(dialog, id)); }

bool Control::AttachWindow(HWND window) {
    Detach();
    if (!window || bindings().count(window)) return false;
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    bindings()[window] = Binding{this, previous};
    hwnd_ = window;
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Control::WindowProc));
    return true;
}

void Control::Detach() {
    if (!hwnd_) return;
    const auto found = bindings().find(hwnd_);
    if (found != bindings().end()) {
        // Hand the window back to its own procedure unless someone has
        // subclassed it after us.
        if (IsWindow(hwnd_) && GetWindowLongPtrW(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Control::WindowProc))
            SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.previous));
        bindings().erase(found);
    }
    hwnd_ = nullptr;
}

Control* Control::FromHandle(HWND window) {
    const auto found = bindings().find(window);
    return found == bindings().end() ? nullptr : found->second.control;
}

bool Control::OnReflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT Control::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultMessage(message, wParam, lParam);
}

LRESULT Control::DefaultMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const auto found = bindings().find(hwnd_);
    if (found == bindings().end()) return DefWindowProcW(hwnd_, message, wParam, lParam);
    return CallWindowProcW(found->second.previous, hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Control::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto found = bindings().find(window);
    if (found == bindings().end()) return DefWindowProcW(window, message, wParam, lParam);
    Control* self = found->second.control;
    const WNDPROC previous = found->second.previous;
    if (message == WM_NCDESTROY) {
        self->Detach();
        return CallWindowProcW(previous, window, message, wParam, lParam);
    }
    try {
        return self->OnMessage(message, wParam, lParam);
    } catch (...) {
        // Never unwind through user32: the message gets its default handling.
        return CallWindowProcW(previous, window, message, wParam, lParam);
    }
}

// --- Dialog ----------------------------------------------------------------

bool Dialog::processEnding_ = false;
int Dialog::runningDialogs_ = 0;

// The request is made from a handler of this thread, so every loop checks it
// as control comes back to it, before it waits for another message.
void Dialog::EndProcess() { processEnding_ = true; }

Dialog::~Dialog() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

INT_PTR Dialog::DoModal(HWND owner) {
    ended_ = false;
    result_ = -1;
    ++runningDialogs_;
    struct Running {
        ~Running() {
            if (--runningDialogs_ == 0) processEnding_ = false;
        }
    } running;
    // The owner is disabled before the dialog exists, so that it is already
    // disabled while the dialog initialises (which may run dialogs of its own).
    const bool disableOwner = owner && IsWindowEnabled(owner);
    if (disableOwner) EnableWindow(owner, FALSE);
    HWND created = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), owner, DialogProc,
                                      reinterpret_cast<LPARAM>(this));
    if (!created) {
        if (disableOwner) EnableWindow(owner, TRUE);
        return -1;
    }
    hwnd_ = created;

    if (!ended_ && !processEnding_) {
        ShowWindow(hwnd_, SW_SHOWNORMAL);
        UpdateWindow(hwnd_);
    }

    MSG message;
    while (!ended_ && !processEnding_) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {  // WM_QUIT: end the loop and leave the quit for outer loops
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got == -1 || processEnding_) break;
        if (!PreTranslateMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    // Re-enable the owner before the dialog goes, so activation returns to it.
    if (disableOwner) EnableWindow(owner, TRUE);
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    return result_;
}

void Dialog::EndDialog(INT_PTR result) {
    result_ = result;
    ended_ = true;
    if (hwnd_ && IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_HIDE);
    // Wake the loop in case it waits for a message.
    if (hwnd_) PostMessageW(hwnd_, WM_NULL, 0, 0);
}

bool Dialog::PreTranslateMessage(MSG& message) {
    if (!hwnd_ || (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd))) return false;
    return IsDialogMessageW(hwnd_, &message) != FALSE;
}

bool Dialog::OnCommand(int id, int, HWND) {
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

INT_PTR Dialog::OnMessage(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return FALSE;
}

bool Dialog::OnNotify(int, const NMHDR&, LRESULT&) { return false; }

HBRUSH Dialog::OnCtlColor(UINT, HDC, HWND) { return nullptr; }

bool Dialog::OnSetCursor(HWND, int, UINT) { return false; }

void Dialog::OnTimer(UINT_PTR) {}

void Dialog::SetMessageResult(LRESULT result) { SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result); }

bool Dialog::ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& answer) {
    HWND child = nullptr;
    if (message == WM_DRAWITEM) child = reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem;
    else if (message == WM_NOTIFY) child = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
    else if (IsColourMessage(message) || message == WM_COMMAND) child = reinterpret_cast<HWND>(lParam);
    Control* control = Control::FromHandle(child);
    if (!control) return false;

    LRESULT result = 0;
    if (!control->OnReflected(message, wParam, lParam, result)) return false;
    if (IsColourMessage(message)) {
        answer = static_cast<INT_PTR>(result);  // a dialog procedure returns the brush itself
    } else {
        SetMessageResult(result);
        answer = TRUE;
    }
    return true;
}

INT_PTR Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return OnInitDialog();

    INT_PTR answer = FALSE;
    const bool fromControl = message == WM_DRAWITEM || message == WM_NOTIFY || IsColourMessage(message) ||
                             (message == WM_COMMAND && lParam != 0);
    if (fromControl && ReflectToControl(message, wParam, lParam, answer)) return answer;

    switch (message) {
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
    case WM_NOTIFY: {
        const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
        LRESULT result = 0;
        if (!OnNotify(static_cast<int>(header.idFrom), header, result)) break;
        SetMessageResult(result);
        return TRUE;
    }
    case WM_SETCURSOR:
        if (!OnSetCursor(reinterpret_cast<HWND>(wParam), static_cast<short>(LOWORD(lParam)), HIWORD(lParam))) break;
        SetMessageResult(TRUE);
        return TRUE;
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        return TRUE;
    default:
        if (!IsColourMessage(message)) break;
        // A dialog procedure returns the brush itself.
        if (HBRUSH brush = OnCtlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
            return reinterpret_cast<INT_PTR>(brush);
        break;
    }

    bool handled = false;
    answer = OnMessage(message, wParam, lParam, handled);
    return handled ? answer : FALSE;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = window;
        SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
    }
    if (!self) return FALSE;
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // Never unwind through user32: the message gets the default handling.
        return FALSE;
    }
}

}  // namespace tiqora::ui
