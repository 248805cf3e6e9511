// The dialog base: its own modal loop, PreTranslateMessage first, handlers
// (typed ones for notifications, colours, the cursor and timers), reflection
// to control objects, results through DWLP_MSGRESULT, the end of every
// running dialog at once, and no exception crossing user32.
#include "ui/dialog.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "dialog_test_ids.h"

namespace tiqora::ui {
namespace {

constexpr UINT kProbe = WM_APP + 1;
constexpr UINT kThrow = WM_APP + 2;

class RecordingControl : public Control {
public:
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    std::vector<UINT> reflected;
    ~RecordingControl() override { DeleteObject(brush); }

protected:
    bool OnReflected(UINT message, WPARAM, LPARAM, LRESULT& result) override {
        reflected.push_back(message);
        if (message == WM_CTLCOLORSTATIC) result = reinterpret_cast<LRESULT>(brush);
        if (message == WM_NOTIFY) result = 4711;
        if (message == WM_DRAWITEM) result = TRUE;
        return message == WM_CTLCOLORSTATIC || message == WM_NOTIFY || message == WM_DRAWITEM;
    }
};

class TestDialog : public Dialog {
public:
    TestDialog() : Dialog(IDD_TEST_DIALOG) {}
    std::function<void(TestDialog&)> onInit;
    std::vector<UINT> preTranslated;
    std::vector<UINT> handled;
    bool everShown = false;
    RecordingControl ownerDraw, label;

protected:
    BOOL OnInitDialog() override {
        ownerDraw.Attach(hwnd(), IDC_TEST_OWNERDRAW);
        label.Attach(hwnd(), IDC_TEST_LABEL);
        if (onInit) onInit(*this);
        return TRUE;
    }
    bool PreTranslateMessage(MSG& message) override {
        if (message.message >= WM_APP) preTranslated.push_back(message.message);
        return Dialog::PreTranslateMessage(message);
    }
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& isHandled) override {
        if (message == WM_SHOWWINDOW && wParam) everShown = true;
        if (message == kThrow) throw std::runtime_error("handler failure");
        if (message == kProbe) {
            handled.push_back(message);
            EndDialog(static_cast<INT_PTR>(wParam));
            isHandled = true;
            return TRUE;
        }
        return Dialog::OnMessage(message, wParam, lParam, isHandled);
    }
};

// A dialog with the typed handlers: the plain button (no control object) is
// the one they answer for.
class TypedDialog : public Dialog {
public:
    TypedDialog() : Dialog(IDD_TEST_DIALOG) {}
    ~TypedDialog() override { DeleteObject(brush); }
    std::function<void(TypedDialog&)> onInit;
    std::function<void(TypedDialog&, UINT_PTR)> onTimer;
    HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
    std::vector<std::string> calls;
    bool everShown = false;

protected:
    BOOL OnInitDialog() override {
        if (onInit) onInit(*this);
        return TRUE;
    }
    bool OnNotify(int id, const NMHDR& header, LRESULT& result) override {
        calls.push_back("notify " + std::to_string(id));
        if (id != IDC_TEST_PLAIN || header.code != NM_CLICK) return false;
        result = 99;
        return true;
    }
    HBRUSH OnCtlColor(UINT message, HDC, HWND control) override {
        calls.push_back("colour " + std::to_string(GetDlgCtrlID(control)));
        return message == WM_CTLCOLORBTN ? brush : nullptr;
    }
    bool OnSetCursor(HWND window, int hitTest, UINT mouseMessage) override {
        calls.push_back("cursor " + std::to_string(GetDlgCtrlID(window)) + " " + std::to_string(hitTest) + " " +
                        std::to_string(mouseMessage));
        return window == item(IDC_TEST_PLAIN);
    }
    void OnTimer(UINT_PTR id) override {
        if (onTimer) onTimer(*this, id);
    }
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override {
        if (message == WM_SHOWWINDOW && wParam) everShown = true;
        return Dialog::OnMessage(message, wParam, lParam, handled);
    }
};

TEST(DialogBase, TypedHandlersGetTheirMessagesAndTheirAnswersTravelAsTheSystemExpects) {
    TypedDialog dialog;
    LRESULT notifyAnswer = 0, otherNotifyAnswer = 0, buttonColour = 0, editColour = 0, cursorAnswer = 0;
    std::vector<std::string> calls;  // what the handlers saw of the messages sent here
    dialog.onInit = [&](TypedDialog& d) {
        d.calls.clear();
        HWND plain = d.item(IDC_TEST_PLAIN);
        NMHDR click{plain, IDC_TEST_PLAIN, static_cast<UINT>(NM_CLICK)};
        notifyAnswer = SendMessageW(d.hwnd(), WM_NOTIFY, IDC_TEST_PLAIN, reinterpret_cast<LPARAM>(&click));
        NMHDR other{plain, IDC_TEST_PLAIN, static_cast<UINT>(NM_RETURN)};
        otherNotifyAnswer = SendMessageW(d.hwnd(), WM_NOTIFY, IDC_TEST_PLAIN, reinterpret_cast<LPARAM>(&other));
        HDC dc = GetDC(d.hwnd());
        buttonColour = SendMessageW(d.hwnd(), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(plain));
        editColour = SendMessageW(d.hwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(plain));
        ReleaseDC(d.hwnd(), dc);
        cursorAnswer = SendMessageW(d.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(plain), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        calls = d.calls;
        SetTimer(d.hwnd(), 7, 10, nullptr);
    };
    dialog.onTimer = [](TypedDialog& d, UINT_PTR id) {
        KillTimer(d.hwnd(), id);
        d.EndDialog(static_cast<INT_PTR>(id));
    };
    EXPECT_EQ(dialog.DoModal(), 7);  // the timer's id, handed to OnTimer
    EXPECT_EQ(notifyAnswer, 99);     // through DWLP_MSGRESULT
    EXPECT_EQ(otherNotifyAnswer, 0);
    EXPECT_EQ(buttonColour, reinterpret_cast<LRESULT>(dialog.brush));  // the brush itself
    EXPECT_NE(editColour, reinterpret_cast<LRESULT>(dialog.brush));
    EXPECT_EQ(cursorAnswer, TRUE);
    const std::string plain = std::to_string(IDC_TEST_PLAIN);
    const std::vector<std::string> expected{"notify " + plain, "notify " + plain, "colour " + plain, "colour " + plain,
                                            "cursor " + plain + " " + std::to_string(HTCLIENT) + " " +
                                                std::to_string(WM_MOUSEMOVE)};
    EXPECT_EQ(calls, expected);
}

TEST(DialogBase, EndProcessEndsEveryRunningDialogInnermostFirstAndShowsNoneStillStarting) {
    TypedDialog outer, inner, innermost;
    std::vector<std::string> ended;
    // Should the end not come, a guard timer ends each dialog after five
    // seconds, so the test fails instead of hanging.
    constexpr UINT_PTR kGuard = 99;
    auto guard = [&](TypedDialog& d, UINT_PTR id) {
        if (id != kGuard) return false;
        KillTimer(d.hwnd(), id);
        ended.push_back("guard");
        d.EndDialog(-1);
        return true;
    };
    // outer runs inner from a timer, inner runs innermost from a timer, and
    // innermost asks for the end while it initialises.
    outer.onInit = [](TypedDialog& d) {
        SetTimer(d.hwnd(), kGuard, 5000, nullptr);
        SetTimer(d.hwnd(), 1, 10, nullptr);
    };
    outer.onTimer = [&](TypedDialog& d, UINT_PTR id) {
        if (guard(d, id)) return;
        KillTimer(d.hwnd(), id);
        inner.DoModal(d.hwnd());
        ended.push_back("inner");
    };
    inner.onInit = [](TypedDialog& d) {
        SetTimer(d.hwnd(), kGuard, 5000, nullptr);
        SetTimer(d.hwnd(), 2, 10, nullptr);
    };
    inner.onTimer = [&](TypedDialog& d, UINT_PTR id) {
        if (guard(d, id)) return;
        KillTimer(d.hwnd(), id);
        innermost.DoModal(d.hwnd());
        ended.push_back("innermost");
    };
    innermost.onInit = [](TypedDialog& d) {
        SetTimer(d.hwnd(), kGuard, 5000, nullptr);
        Dialog::EndProcess();
    };
    innermost.onTimer = guard;
    outer.DoModal();
    ended.push_back("outer");

    EXPECT_EQ(ended, (std::vector<std::string>{"innermost", "inner", "outer"}));
    EXPECT_FALSE(innermost.everShown);
    EXPECT_TRUE(outer.everShown);
    EXPECT_TRUE(inner.everShown);

    // The request is spent with the outermost dialog: the next one runs.
    TestDialog next;
    next.onInit = [](TestDialog& d) { PostMessageW(d.hwnd(), kProbe, 3, 0); };
    EXPECT_EQ(next.DoModal(), 3);
}

TEST(DialogBase, RunsModallyOffersMessagesFirstAndReturnsTheResult) {
    TestDialog dialog;
    dialog.onInit = [](TestDialog& d) { PostMessageW(d.hwnd(), kProbe, 42, 0); };
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_EQ(dialog.preTranslated, std::vector<UINT>{kProbe});
    EXPECT_EQ(dialog.handled, std::vector<UINT>{kProbe});
    EXPECT_EQ(dialog.hwnd(), nullptr);
}

TEST(DialogBase, ADialogEndedDuringItsInitialisationIsNeverShown) {
    TestDialog dialog;
    dialog.onInit = [](TestDialog& d) { d.EndDialog(7); };
    EXPECT_EQ(dialog.DoModal(), 7);
    EXPECT_FALSE(dialog.everShown);
}

TEST(DialogBase, TheOwnerIsDisabledWhileTheDialogRuns) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    TestDialog dialog;
    bool ownerEnabledDuring = true;
    dialog.onInit = [&](TestDialog& d) {
        ownerEnabledDuring = IsWindowEnabled(owner);
        d.EndDialog(1);
    };
    EXPECT_EQ(dialog.DoModal(owner), 1);  // the dialog opened and ran its initialisation
    EXPECT_FALSE(ownerEnabledDuring);
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
}

TEST(DialogBase, ControlMessagesAreReflectedToTheirObjects) {
    TestDialog dialog;
    LRESULT colourAnswer = 0, notifyAnswer = 0, drawAnswer = 0;
    dialog.onInit = [&](TestDialog& d) {
        HDC dc = GetDC(d.hwnd());
        colourAnswer = SendMessageW(d.hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                    reinterpret_cast<LPARAM>(d.label.hwnd()));
        ReleaseDC(d.hwnd(), dc);
        NMHDR header{d.label.hwnd(), IDC_TEST_LABEL, NM_CLICK};
        notifyAnswer = SendMessageW(d.hwnd(), WM_NOTIFY, IDC_TEST_LABEL, reinterpret_cast<LPARAM>(&header));
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_BUTTON;
        draw.CtlID = IDC_TEST_OWNERDRAW;
        draw.hwndItem = d.ownerDraw.hwnd();
        drawAnswer = SendMessageW(d.hwnd(), WM_DRAWITEM, IDC_TEST_OWNERDRAW, reinterpret_cast<LPARAM>(&draw));
        PostMessageW(d.hwnd(), kProbe, 0, 0);
    };
    EXPECT_EQ(dialog.DoModal(), 0);  // ended by the probe: the messages were sent
    EXPECT_EQ(colourAnswer, reinterpret_cast<LRESULT>(dialog.label.brush));
    EXPECT_EQ(notifyAnswer, 4711);
    EXPECT_EQ(drawAnswer, TRUE);
    auto count = [](const std::vector<UINT>& messages, UINT message) {
        return std::count(messages.begin(), messages.end(), message);
    };
    // Each object saw the messages about its own window only.
    EXPECT_GE(count(dialog.ownerDraw.reflected, WM_DRAWITEM), 1);
    EXPECT_EQ(count(dialog.ownerDraw.reflected, WM_NOTIFY), 0);
    EXPECT_EQ(count(dialog.label.reflected, WM_NOTIFY), 1);
    EXPECT_EQ(count(dialog.label.reflected, WM_DRAWITEM), 0);
}

TEST(DialogBase, AnExceptionInAHandlerStopsAtTheWindowProcedure) {
    TestDialog dialog;
    dialog.onInit = [](TestDialog& d) {
        PostMessageW(d.hwnd(), kThrow, 0, 0);
        PostMessageW(d.hwnd(), kProbe, 5, 0);
    };
    EXPECT_EQ(dialog.DoModal(), 5);
}

TEST(DialogBase, CancelEndsTheDialogByDefault) {
    TestDialog dialog;
    dialog.onInit = [](TestDialog& d) { PostMessageW(d.hwnd(), WM_COMMAND, IDCANCEL, 0); };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

}  // namespace
}  // namespace tiqora::ui
