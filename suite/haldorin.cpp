// HALDORIN.EXE stand-in: the suite's remote-support tool, which the feedback
// form starts from the install folder. It records that it ran (a line in
// HALDORIN.log in the product data folder: time and command line) and shows
// a small window saying that remote support has started.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

namespace {

constexpr wchar_t kWindowClass[] = L"HaldorinRemoteSupport";
constexpr wchar_t kTitle[] = L"HALDORIN Remote Support";

void recordRun() {
    wchar_t appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) return;
    const std::wstring log = std::wstring(appData) + L"\\Orvantis\\HALDORIN.log";
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t stamp[64];
    swprintf(stamp, sizeof stamp / sizeof stamp[0], L"%04u-%02u-%02u %02u:%02u:%02u  started: ", now.wYear, now.wMonth,
             now.wDay, now.wHour, now.wMinute, now.wSecond);
    const std::wstring line = std::wstring(stamp) + GetCommandLineW() + L"\r\n";
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), bytes, nullptr, nullptr);
    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(file);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, L"Remote support has started.\nA support engineer will connect to this computer shortly.", -1,
                  &client, DT_CENTER | DT_VCENTER | DT_WORDBREAK);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    recordRun();
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kWindowClass;
    if (!RegisterClassExW(&windowClass)) return 1;
    HWND window = CreateWindowExW(0, kWindowClass, kTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 380, 150, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
