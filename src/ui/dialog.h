// A small modal dialog base over plain Win32.
//
// Dialog runs a template modally with a message loop of its own so that
// PreTranslateMessage sees every message first (the forms swallow Escape,
// relay tooltips and handle Return there). The window procedure trampoline
// keeps `this` with the window, hands messages to small virtual handlers,
// reflects owner-draw, colour and notification messages to the Control
// objects that own the child windows, and never lets an exception unwind
// through user32.
#pragma once

#include <windows.h>

namespace tiqora::ui {

// A child control bound to a C++ object. The object does not own the window
// (the dialog does); it subclasses it to see its messages and receives the
// messages that the parent dialog reflects back to it.
class Control {
public:
    Control() = default;
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Binds this object to the child `id` of `dialog`; false when there is no
    // such child.
    bool Attach(HWND dialog, int id);
    // Binds this object to `window`; false when it is null.
    bool AttachWindow(HWND window);
    HWND hwnd() const { return hwnd_; }

    // The object bound to a window, or null.
    static Control* FromHandle(HWND window);

protected:
    // A message the parent reflected (WM_DRAWITEM, WM_CTLCOLOR*, WM_NOTIFY,
    // WM_COMMAND notifications). Return true when handled; `result` is then
    // the message result (a brush for the colour messages).
    virtual bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The control's own messages; the default passes them on.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend class Dialog;
    void Detach();
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
};

class Dialog {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the dialog, disables `owner` (if any) while it runs, shows it
    // once OnInitDialog has returned (unless it ended there: such a dialog is
    // never shown) and pumps messages until EndDialog. Returns the EndDialog
    // result, or -1 when the template could not be created.
    INT_PTR DoModal(HWND owner = nullptr);
    void EndDialog(INT_PTR result);

    // Ends every running dialog, innermost first, and with them the program:
    // start-up returns from the program's entry point (exit code 0) once the
    // outermost dialog has ended. No further message is dispatched; the
    // caller returns at once, and each loop ends as control comes back to
    // it. A dialog that is still initialising is never shown. The request is
    // spent once the outermost dialog has ended.
    static void EndProcess();

    HWND hwnd() const { return hwnd_; }
    HWND item(int id) const { return GetDlgItem(hwnd_, id); }
    int templateId() const { return templateId_; }

protected:
    // WM_INITDIALOG. Return TRUE to let the system set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    // Offered every message of the modal loop before it is dispatched; return
    // true when it was handled. The default runs the dialog keyboard handling
    // for messages of this dialog and its children.
    virtual bool PreTranslateMessage(MSG& message);
    // WM_COMMAND. The default sends IDOK to OnOK and IDCANCEL to OnCancel.
    virtual bool OnCommand(int id, int code, HWND control);
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // WM_NOTIFY from a child whose Control object did not handle it. Return
    // true when handled; the base then puts `result` in DWLP_MSGRESULT.
    virtual bool OnNotify(int id, const NMHDR& header, LRESULT& result);
    // WM_CTLCOLOR* (`message` says which): set the colours on `dc` and
    // return the brush that paints `control`'s background (the dialog's own
    // for WM_CTLCOLORDLG); null leaves the default colouring. Controls that
    // colour themselves answer before this is asked.
    virtual HBRUSH OnCtlColor(UINT message, HDC dc, HWND control);
    // WM_SETCURSOR over `window`. Return true when a cursor was set; the base
    // then answers TRUE through DWLP_MSGRESULT, so the control under the
    // mouse does not set its own.
    virtual bool OnSetCursor(HWND window, int hitTest, UINT mouseMessage);
    // WM_TIMER of a timer set on the dialog.
    virtual void OnTimer(UINT_PTR id);
    // Every other message. Set `handled` to answer it; the return value is
    // the dialog procedure's result (see SetMessageResult for results that go
    // through DWLP_MSGRESULT).
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

    // Result of a message whose answer travels in DWLP_MSGRESULT (WM_NOTIFY,
    // custom draw); the handler then returns TRUE.
    void SetMessageResult(LRESULT result);

private:
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& answer);

    static bool processEnding_;
    static int runningDialogs_;

    int templateId_;
    HWND hwnd_ = nullptr;
    bool ended_ = false;
    INT_PTR result_ = -1;
};

}  // namespace tiqora::ui
