// The dialog base: its own modal loop, PreTranslateMessage first, handlers,
// reflection to control objects, results through DWLP_MSGRESULT, and no
// exception crossing user32.
#include "ui/dialog.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
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
    dialog.DoModal(owner);
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
    dialog.DoModal();
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
