// desktop_keeper.exe: holds one hidden window for as long as the Wine machine
// of a test run, the demo or a benchmark lives (tools/wine-machine.sh starts
// it and ends it with the machine). Wine ends its desktop process
// (explorer.exe /desktop) a few seconds after the last window is gone and
// starts it again for the next program that opens one: every test paid about
// 1.2 s for that. Windows keeps its desktop, so this only makes the Wine
// machine behave as Windows does.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"TiqoraDesktopKeeper";
    if (!RegisterClassW(&windowClass)) return 1;
    // A top-level window that is never shown: no test or picture sees it.
    if (!CreateWindowExW(WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                         instance, nullptr))
        return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}
