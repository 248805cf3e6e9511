// The control kit with real windows: skins, hover buttons, blinking statics,
// the sortable list and the message dialog, checked by their state and by the
// pixels they paint.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "dialog_test_ids.h"
#include "resource.h"
#include "ui/color_static.h"
#include "ui/dialog_sk.h"
#include "ui/hover_btn.h"
#include "ui/message_dlg.h"
#include "ui/sort_list.h"

namespace tiqora::ui {
namespace {

// Runs the thread's messages until `condition` holds; false after `timeoutMs`.
bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(2);
    }
}

void pumpFor(DWORD milliseconds) {
    pumpUntil([] { return false; }, milliseconds);
}

// Colour of a window's pixel as painted on screen.
COLORREF pixelOf(HWND window, int x, int y) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pumpFor(20);
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

constexpr UINT kRunBody = WM_APP + 7;
constexpr UINT kBlinkNotice = WM_USER + 10;

// A dialog with one control of each kind; the test body runs inside its
// modal loop once it is shown.
class KitDialog : public CDialogSK {
public:
    KitDialog() : CDialogSK(IDD_KIT_DIALOG) {}
    std::function<void(KitDialog&)> body;
    std::string failure;
    CHoverBtn button, button2;
    CColorStaticST banner;
    CSortListCtrl list;
    std::vector<WPARAM> notices;
    bool bodyRan = false;

    // Runs the dialog; a dialog that never opened, or ended before the body
    // ran, fails the test (its body's checks would otherwise never be made).
    void run() {
        const INT_PTR result = DoModal();
        EXPECT_TRUE(bodyRan) << "the test's body never ran: the dialog ended with " << result;
        if (!failure.empty()) ADD_FAILURE() << failure;
    }

protected:
    BOOL OnInitDialog() override {
        button.Attach(hwnd(), IDC_KIT_BUTTON);
        button2.Attach(hwnd(), IDC_KIT_BUTTON2);
        banner.Attach(hwnd(), IDC_KIT_STATIC);
        list.AttachList(hwnd(), IDC_KIT_LIST);
        SetWindowPos(hwnd(), HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE);
        PostMessageW(hwnd(), kRunBody, 0, 0);
        return TRUE;
    }
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override {
        if (message == kRunBody) {
            bodyRan = true;
            try {
                body(*this);
            } catch (const std::exception& error) {
                failure = error.what();
            }
            EndDialog(0);
            handled = true;
            return TRUE;
        }
        if (message == kBlinkNotice) {
            notices.push_back(wParam);
            handled = true;
            return TRUE;
        }
        return CDialogSK::OnMessage(message, wParam, lParam, handled);
    }
};

TEST(SkinnedDialog, DrawsItsSkinStretchedOverTheClientArea) {
    KitDialog dialog;
    dialog.body = [](KitDialog& d) {
        EXPECT_TRUE(d.LoadSkin(IDB_TEST_SKIN));
        EXPECT_EQ(d.skinId(), IDB_TEST_SKIN);

        // Quadrant colours land in the client area's quadrants, at any size
        // (the controls are hidden so that only the skin shows).
        for (HWND child = GetWindow(d.hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            ShowWindow(child, SW_HIDE);
        for (SIZE size : {SIZE{400, 300}, SIZE{240, 420}}) {
            SetWindowPos(d.hwnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
            RECT client;
            GetClientRect(d.hwnd(), &client);
            const int w = client.right, h = client.bottom;
            EXPECT_EQ(pixelOf(d.hwnd(), w / 4, h / 2 - 8), RGB(200, 30, 30));
            EXPECT_EQ(pixelOf(d.hwnd(), 3 * w / 4 + 20, h / 4), RGB(30, 200, 30));
            EXPECT_EQ(pixelOf(d.hwnd(), w / 4, 3 * h / 4), RGB(30, 30, 200));
            EXPECT_EQ(pixelOf(d.hwnd(), w - 3, h - 3), RGB(220, 220, 40));
        }

        EXPECT_FALSE(d.LoadSkin(4242));  // no such resource: the skin is cleared
        EXPECT_EQ(d.skinId(), 0);
        EXPECT_TRUE(d.LoadSkin(IDB_TEST_SKIN));
        EXPECT_FALSE(d.LoadSkin(IDB_TEST_SKIN_TRUNCATED));  // its pixels would be read past its end
        EXPECT_EQ(d.skinId(), 0);
    };
    dialog.run();
}

TEST(HoverButton, ShowsOneFrameNormalPressedOrUnderThePointer) {
    KitDialog dialog;
    dialog.body = [](KitDialog& d) {
        EXPECT_TRUE(d.button2.LoadStrip(IDB_TEST_STRIP_86));
        RECT rect;
        GetWindowRect(d.button2.hwnd(), &rect);
        EXPECT_EQ(rect.right - rect.left, 28);  // 86 / 3, the last columns never shown
        EXPECT_EQ(rect.bottom - rect.top, 20);

        EXPECT_TRUE(d.button.LoadStrip(IDB_TEST_STRIP_84));
        HWND button = d.button.hwnd();
        GetWindowRect(button, &rect);
        EXPECT_EQ(rect.right - rect.left, 28);
        EXPECT_EQ(rect.bottom - rect.top, 23);

        SetCursorPos(rect.left - 40, rect.bottom + 60);
        pumpFor(50);
        EXPECT_EQ(pixelOf(button, 14, 11), RGB(255, 0, 0)) << "normal frame";

        SendMessageW(button, BM_SETSTATE, TRUE, 0);
        EXPECT_EQ(pixelOf(button, 14, 11), RGB(0, 255, 0)) << "pressed frame";
        SendMessageW(button, BM_SETSTATE, FALSE, 0);

        // The real pointer: posted mouse messages raise no hover.
        SetCursorPos(rect.left + 14, rect.top + 11);
        EXPECT_TRUE(pumpUntil([&] { return d.button.hovering(); })) << "no hover after the pointer came";
        EXPECT_EQ(pixelOf(button, 14, 11), RGB(0, 0, 255)) << "hover frame";

        SetCursorPos(rect.left - 40, rect.bottom + 60);
        EXPECT_TRUE(pumpUntil([&] { return !d.button.hovering(); })) << "still hovering after the pointer left";
        EXPECT_EQ(pixelOf(button, 14, 11), RGB(255, 0, 0)) << "normal frame after leaving";
    };
    dialog.run();
}

TEST(ColorStatic, BlinksBothPairsOnOneTimerAndNotifiesInPhaseOne) {
    KitDialog dialog;
    HBRUSH usedBrush = nullptr;
    dialog.body = [&](KitDialog& d) {
        CColorStaticST& banner = d.banner;
        // Set up as the reply popup sets up its labels, with short periods.
        banner.SetBlinkBackgroundPair(RGB(128, 0, 0), RGB(189, 32, 35));
        banner.StartBackgroundBlinking(500);
        banner.SetBlinkTextPair(RGB(189, 32, 35), RGB(0, 0, 0));
        banner.StartTextBlinking(60);
        banner.SetBlinkNotification(d.hwnd(), kBlinkNotice);
        EXPECT_NE(banner.timer(), 0u);
        EXPECT_EQ(banner.phases().textPhase, 0);
        EXPECT_EQ(banner.phases().backgroundPhase, 0);

        HDC probe = CreateCompatibleDC(nullptr);
        auto coloursNow = [&] {
            usedBrush = reinterpret_cast<HBRUSH>(SendMessageW(d.hwnd(), WM_CTLCOLORSTATIC,
                                                              reinterpret_cast<WPARAM>(probe),
                                                              reinterpret_cast<LPARAM>(banner.hwnd())));
            return std::pair{GetTextColor(probe), GetBkColor(probe)};
        };
        EXPECT_EQ(coloursNow(), (std::pair{RGB(189, 32, 35), RGB(128, 0, 0)}));

        ASSERT_TRUE(pumpUntil([&] { return d.notices.size() >= 3; }, 3000)) << "no blink notifications";
        for (WPARAM id : d.notices) EXPECT_EQ(id, static_cast<WPARAM>(IDC_KIT_STATIC));
        // Both phases flip together on each tick of the one timer.
        for (int i = 0; i < 6; ++i) {
            pumpFor(35);
            EXPECT_EQ(banner.phases().textPhase, banner.phases().backgroundPhase);
        }
        const int phase = banner.phases().textPhase;
        const auto expected = phase == 1 ? std::pair{RGB(0, 0, 0), RGB(189, 32, 35)}
                                         : std::pair{RGB(189, 32, 35), RGB(128, 0, 0)};
        EXPECT_EQ(coloursNow(), expected);
        DeleteDC(probe);
    };
    dialog.run();
    ASSERT_NE(usedBrush, nullptr);
    EXPECT_EQ(GetObjectType(usedBrush), 0u) << "the blink brushes outlived the control";
}

std::vector<std::wstring> column(CSortListCtrl& list, int index) {
    std::vector<std::wstring> texts;
    const int count = ListView_GetItemCount(list.hwnd());
    for (int row = 0; row < count; ++row) {
        wchar_t text[128] = {};
        ListView_GetItemText(list.hwnd(), row, index, text, 128);
        texts.push_back(text);
    }
    return texts;
}

void clickHeading(KitDialog& d, int columnIndex) {
    NMLISTVIEW click{};
    click.hdr = {d.list.hwnd(), static_cast<UINT_PTR>(IDC_KIT_LIST), static_cast<UINT>(LVN_COLUMNCLICK)};
    click.iItem = -1;
    click.iSubItem = columnIndex;
    SendMessageW(d.hwnd(), WM_NOTIFY, IDC_KIT_LIST, reinterpret_cast<LPARAM>(&click));
}

TEST(SortList, SortsByTheFirstRowsRuleAndTogglesOnTheSameHeading) {
    KitDialog dialog;
    dialog.body = [](KitDialog& d) {
        CSortListCtrl& list = d.list;
        ListView_SetExtendedListViewStyle(list.hwnd(), LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
        EXPECT_TRUE(list.DefineColumns(L"Id,50;Date,90;Name,90;Mobile,80;Status,80"));
        EXPECT_EQ(list.columnCount(), 5);
        list.AppendRow({L"10", L"12/01/2024", L"pear", L"1", L"Open"});
        list.AppendRow({L"9", L"31/12/2023", L"apple", L"2", L"error"});
        list.AppendRow({L"100", L"01/01/2024", L"fig", L"3", L"restored"});

        clickHeading(d, 0);
        EXPECT_EQ(column(list, 0), (std::vector<std::wstring>{L"9", L"10", L"100"}));
        clickHeading(d, 0);
        EXPECT_EQ(column(list, 0), (std::vector<std::wstring>{L"100", L"10", L"9"}));
        clickHeading(d, 0);
        EXPECT_EQ(column(list, 0), (std::vector<std::wstring>{L"9", L"10", L"100"}));
        clickHeading(d, 1);  // another heading starts ascending
        EXPECT_TRUE(list.sortAscending());
        EXPECT_EQ(column(list, 1), (std::vector<std::wstring>{L"31/12/2023", L"01/01/2024", L"12/01/2024"}));
        clickHeading(d, 2);
        EXPECT_EQ(column(list, 2), (std::vector<std::wstring>{L"apple", L"fig", L"pear"}));
    };
    dialog.run();
}

TEST(SortList, TypeToFindLandsOnTheRowWhoseFirstColumnStartsSo) {
    KitDialog dialog;
    dialog.body = [](KitDialog& d) {
        CSortListCtrl& list = d.list;
        list.DefineColumns(L"Name,90;Other,90");
        list.SetRows({L"pear", L"1", L"apple", L"2", L"Peach", L"3", L"fig", L"4"});
        // The row a search starts "after" is left out on Windows; Wine 8
        // hands it to the list's owner as the first row to look at. The
        // cases find the same row either way.
        const struct {
            const wchar_t* text;
            UINT flags;
            int after;  // the search starts after this row (-1: at the top)
            int row;    // by hand
        } cases[] = {
            {L"pea", LVFI_PARTIAL | LVFI_STRING, -1, 0},
            {L"PEA", LVFI_PARTIAL | LVFI_STRING, 1, 2},  // case ignored
            {L"app", LVFI_PARTIAL | LVFI_STRING, 2, -1},
            {L"pear", LVFI_STRING | LVFI_WRAP, 2, 0},
            {L"APPLE", LVFI_STRING, -1, 1},
            {L"app", LVFI_STRING, -1, -1},  // a whole text is asked for
            {L"figs", LVFI_PARTIAL | LVFI_STRING, -1, -1},
        };
        for (const auto& c : cases) {
            LVFINDINFOW find{};
            find.flags = c.flags;
            find.psz = c.text;
            EXPECT_EQ(ListView_FindItem(list.hwnd(), c.after, &find), c.row)
                << c.text << " after " << c.after << " flags " << c.flags;
        }
        // The texts reach readers of the control whatever their buffer.
        wchar_t shortBuffer[3] = {};
        ListView_GetItemText(list.hwnd(), 1, 0, shortBuffer, 3);
        EXPECT_EQ(std::wstring(shortBuffer), L"ap");
        EXPECT_EQ(column(list, 1), (std::vector<std::wstring>{L"1", L"2", L"3", L"4"}));
    };
    dialog.run();
}

TEST(SortList, ShadesRowsAndColoursThemByStatus) {
    KitDialog dialog;
    dialog.body = [](KitDialog& d) {
        CSortListCtrl& list = d.list;
        list.DefineColumns(L"Id,40;A,40;B,40;C,40;Status,120");
        list.AppendRow({L"1", L"", L"", L"", L"Open"});
        list.AppendRow({L"2", L"", L"", L"", L"Open"});
        list.AppendRow({L"3", L"", L"", L"", L"error"});
        list.AppendRow({L"4", L"", L"", L"", L"restored"});
        const struct {
            int row;
            COLORREF colour;
        } expected[] = {{0, RGB(250, 250, 250)}, {1, RGB(235, 235, 235)}, {2, RGB(255, 0, 0)}, {3, RGB(0, 255, 0)}};
        for (const auto& e : expected) {
            RECT cell;
            ListView_GetSubItemRect(list.hwnd(), e.row, 4, LVIR_BOUNDS, &cell);
            EXPECT_EQ(pixelOf(list.hwnd(), cell.right - 6, (cell.top + cell.bottom) / 2), e.colour) << "row " << e.row;
        }
    };
    dialog.run();
}

TEST(SortList, FreesItsRowRecordsAndFillsFastWithRedrawOff) {
    const size_t before = CSortListCtrl::liveRowRecords();
    KitDialog dialog;
    dialog.body = [&](KitDialog& d) {
        CSortListCtrl& list = d.list;
        list.DefineColumns(L"Sr.No.,60;Date ,100;Call Id,100;Issue Description,275;Mobile No.,100");
        for (int round = 0; round < 10; ++round) {
            CSortListCtrl::BulkAppend bulk(list);
            for (int i = 0; i < 1000; ++i) list.AppendRow({std::to_wstring(i), L"7/12/2026 05:26", L"CT : 4711", L"VIRUS - slow", L"9876543210"});
            EXPECT_EQ(CSortListCtrl::liveRowRecords(), before + 1000);
            list.ClearRows();
            EXPECT_EQ(CSortListCtrl::liveRowRecords(), before);
        }

        const ULONGLONG start = GetTickCount64();
        {
            CSortListCtrl::BulkAppend bulk(list);
            for (int i = 0; i < 20000; ++i)
                list.AppendRow({std::to_wstring(20000 - i), L"7/12/2026 05:26", L"CT : 4711", L"VIRUS - slow", L"9876543210"});
        }
        list.SortByColumn(0, true);
        pumpFor(10);
        EXPECT_LT(GetTickCount64() - start, 5000u) << "20,000 rows took too long to fill and sort";
        EXPECT_EQ(column(list, 0).front(), L"1");
        EXPECT_EQ(CSortListCtrl::liveRowRecords(), before + 20000);
    };
    dialog.run();
    EXPECT_EQ(CSortListCtrl::liveRowRecords(), before) << "records outlived the list";
}

// Runs `check` on the message box this thread shows next, then presses OK.
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(std::function<void(HWND)> check) {
        current() = this;
        check_ = std::move(check);
        timer_ = SetTimer(nullptr, 0, 30, onTimer);
    }
    ~MessageBoxWatcher() {
        KillTimer(nullptr, timer_);
        current() = nullptr;
    }
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;
    bool ran = false;

private:
    static MessageBoxWatcher*& current() {
        static MessageBoxWatcher* watcher = nullptr;
        return watcher;
    }
    static BOOL CALLBACK findBox(HWND window, LPARAM found) {
        if (GetDlgItem(window, IDC_MESSAGE_OK) && GetDlgItem(window, IDC_MESSAGE_LARGE) && IsWindowVisible(window)) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
        MessageBoxWatcher* self = current();
        if (!self || self->ran) return;
        HWND box = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), findBox, reinterpret_cast<LPARAM>(&box));
        if (!box) return;
        self->ran = true;
        self->check_(box);
        PostMessageW(GetDlgItem(box, IDC_MESSAGE_OK), BM_CLICK, 0, 0);
    }
    std::function<void(HWND)> check_;
    UINT_PTR timer_;
};

std::wstring windowText(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

TEST(MessageDialog, KindChoosesTheSkinAndTheFlagTheField) {
    struct Case {
        int kind;
        const wchar_t* text;
        bool small;
        int skin;
        const wchar_t* shown;
    } cases[] = {
        {1, L"Thank You !!.\nTicket ID =  1001\n", true, IDB_MESSAGE_POSITIVE, L"Thank You !!.\r\nTicket ID =  1001\r\n"},
        {0, L"Ticket Submission Failed..!!", false, IDB_MESSAGE_NEGATIVE, L"Ticket Submission Failed..!!"},
        {7, L"Please enter valid Email ID..!", false, IDB_MESSAGE_NEGATIVE, L"Please enter valid Email ID..!"},
    };
    MessageDlg box;  // one object run again and again, as the feedback does
    for (const auto& c : cases) {
        box.kind = c.kind;
        box.text = c.text;
        box.smallText = c.small;
        MessageBoxWatcher watcher([&](HWND window) {
            HWND used = GetDlgItem(window, c.small ? IDC_MESSAGE_SMALL : IDC_MESSAGE_LARGE);
            EXPECT_TRUE(IsWindowVisible(used));
            EXPECT_TRUE(IsWindowEnabled(used));
            EXPECT_EQ(windowText(used), c.shown);
            // The unused field is hidden: the small one, filled white, would
            // cover the large text.
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, c.small ? IDC_MESSAGE_LARGE : IDC_MESSAGE_SMALL)));
            EXPECT_EQ(box.skinId(), c.skin) << "kind " << c.kind;
            RECT ok;
            GetWindowRect(GetDlgItem(window, IDC_MESSAGE_OK), &ok);
            EXPECT_EQ(ok.right - ok.left, 58);  // one frame of strip 162
        });
        box.Run(nullptr);
        EXPECT_TRUE(watcher.ran);
    }
}

TEST(MessageDialog, DisablesItsOwnerWhileItIsUp) {
    HWND owner = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"form", WS_POPUP | WS_VISIBLE, 50, 50, 200, 200, nullptr,
                                 nullptr, nullptr, nullptr);
    SetActiveWindow(owner);
    bool ownerEnabled = true;
    HWND ownerOfBox = nullptr;
    MessageBoxWatcher watcher([&](HWND window) {
        ownerEnabled = IsWindowEnabled(owner);
        ownerOfBox = GetWindow(window, GW_OWNER);
    });
    ShowMessage(1, L"ScreenShot Taken....!", FALSE);
    EXPECT_TRUE(watcher.ran);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_EQ(ownerOfBox, owner);
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
}

}  // namespace
}  // namespace tiqora::ui
