// The screen capture and the picture's upload, in this process: the saved
// file is a real JPEG of the whole primary display that shows what was on
// the screen (a window of known colours, not the form), the encoder follows
// the extension, and an upload to a server that never takes the connection
// gives up in time.
#include "features/it_ticket/screen_capture.h"

#include <objidl.h>

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <string>

#include "features/it_ticket/screenshot_delivery.h"
#include "harness/no_server.h"
#include "harness/picture.h"
#include "harness/test_paths.h"

namespace tiqora {
namespace {

namespace gp = Gdiplus;

constexpr wchar_t kFolder[] = L"C:\\qx\\capture-test";

// A top-most window at the screen's top left showing four known colours.
class PatternWindow {
public:
    static constexpr int kSide = 200;
    static constexpr COLORREF kColours[4] = {RGB(255, 0, 0), RGB(0, 160, 0), RGB(0, 0, 255), RGB(255, 255, 0)};

    PatternWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = paint;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"CapturePattern";
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"CapturePattern", L"", WS_POPUP | WS_VISIBLE,
                                  0, 0, kSide, kSide, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        UpdateWindow(window_);
        // Let the X server show it.
        for (int i = 0; i < 20; ++i) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            Sleep(25);
        }
    }
    ~PatternWindow() { DestroyWindow(window_); }

private:
    static LRESULT CALLBACK paint(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
        PAINTSTRUCT paintInfo;
        HDC dc = BeginPaint(window, &paintInfo);
        const int half = kSide / 2;
        for (int i = 0; i < 4; ++i) {
            const RECT quarter{(i % 2) * half, (i / 2) * half, (i % 2 + 1) * half, (i / 2 + 1) * half};
            HBRUSH brush = CreateSolidBrush(kColours[i]);
            FillRect(dc, &quarter, brush);
            DeleteObject(brush);
        }
        EndPaint(window, &paintInfo);
        return 0;
    }
    HWND window_ = nullptr;
};

class ScreenCapture : public ::testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryW(L"C:\\qx", nullptr);
        CreateDirectoryW(kFolder, nullptr);
    }
    void TearDown() override {
        for (const wchar_t* name : {L"\\shot.jpg", L"\\shot.png", L"\\shot.JPEG", L"\\shot.xyz"})
            DeleteFileW((std::wstring(kFolder) + name).c_str());
        RemoveDirectoryW(kFolder);
    }
};

TEST_F(ScreenCapture, TheJpegHoldsTheWholeScreenAsItWas) {
    PatternWindow pattern;
    const std::wstring path = std::wstring(kFolder) + L"\\shot.jpg";
    ASSERT_EQ(captureScreenTo(path), S_OK);
    ASSERT_EQ(test::readFileBytes(path).substr(0, 3), std::string("\xFF\xD8\xFF"));

    const test::DecodedPicture picture(path);
    ASSERT_TRUE(picture.valid());
    EXPECT_TRUE(IsEqualGUID(picture.format(), gp::ImageFormatJPEG));
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(picture.width(), static_cast<UINT>(GetDeviceCaps(screen, HORZRES)));
    EXPECT_EQ(picture.height(), static_cast<UINT>(GetDeviceCaps(screen, VERTRES)));
    ReleaseDC(nullptr, screen);
    const int quarter = PatternWindow::kSide / 4;
    for (int i = 0; i < 4; ++i) {
        const int x = (i % 2) * 2 * quarter + quarter, y = (i / 2) * 2 * quarter + quarter;
        const COLORREF seen = picture.pixel(x, y);
        EXPECT_TRUE(test::similarColour(seen, PatternWindow::kColours[i]))
            << "quarter " << i << " at " << x << "," << y << ": " << std::hex << seen;
    }
}

TEST_F(ScreenCapture, TheEncoderFollowsTheExtension) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 1, 1);
    ReleaseDC(nullptr, screen);
    const struct {
        const wchar_t* name;
        HRESULT result;
        const char* signature;  // first bytes of the file
    } cases[] = {
        {L"\\shot.jpg", S_OK, "\xFF\xD8\xFF"},
        {L"\\shot.JPEG", S_OK, "\xFF\xD8\xFF"},  // case ignored
        {L"\\shot.png", S_OK, "\x89PNG"},
        {L"\\shot.xyz", E_FAIL, ""},            // no encoder: nothing written
        {L"\\missing\\shot.jpg", E_FAIL, ""},   // no such folder
    };
    for (const auto& c : cases) {
        const std::wstring path = std::wstring(kFolder) + c.name;
        EXPECT_EQ(saveBitmapAsJpeg(bitmap, path), c.result);
        EXPECT_EQ(test::readFileBytes(path).substr(0, std::string(c.signature).size()), c.signature);
    }
    DeleteObject(bitmap);
}

TEST_F(ScreenCapture, APathOfTheBufferSizeIsNotSaved) {
    const std::wstring path = std::wstring(kFolder) + L"\\" + std::wstring(259 - wcslen(kFolder) - 1 - 4, L'x');
    ASSERT_EQ((path + L".jpg").size(), 259u);
    // 259 characters fit the 260 of the buffer with its terminator; 260 do not.
    EXPECT_EQ(captureScreenTo(path + L"y.jpg"), E_FAIL);
}

// A server that listens but never takes a connection: once its queue is
// full, further connection attempts get no answer at all.
TEST(ScreenshotUpload, AConnectionThatIsNeverMadeIsGivenUpAfterTenSeconds) {
    const test::NoServer server(test::NoServer::Kind::Silent);
    const std::string host = "127.0.0.1:" + std::to_string(server.port());
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(sendScreenShotToWebSrv(std::get<ServiceAddress>(serviceAddressOf(host)), "CORP-1001", "guid", "C:\\qx\\none.jpg"), 0);
    const ULONGLONG took = GetTickCount64() - start;
    EXPECT_GE(took, 9000u);
    EXPECT_LT(took, 15000u);
}

}  // namespace
}  // namespace tiqora
