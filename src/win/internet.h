// WinINet, loaded from the system folder when first used (only the IT ticket
// form's LAN address check needs it, so start-up does not pay for it in every
// mode), and an owner for its handles.
#pragma once

#include <windows.h>
#include <wininet.h>

#include "win/handles.h"

namespace tiqora {

class WinInet {
public:
    WinInet() : library_(L"wininet.dll") {
        attemptConnect = library_.find<decltype(&InternetAttemptConnect)>("InternetAttemptConnect");
        open = library_.find<decltype(&InternetOpenW)>("InternetOpenW");
        connect = library_.find<decltype(&InternetConnectW)>("InternetConnectW");
        openRequest = library_.find<decltype(&HttpOpenRequestW)>("HttpOpenRequestW");
        close = library_.find<decltype(&InternetCloseHandle)>("InternetCloseHandle");
    }

    bool usable() const { return library_ && attemptConnect && open && connect && openRequest && close; }
    // Keeps the library loaded for the rest of the process.
    void keep() { library_.keep(); }

    decltype(&InternetAttemptConnect) attemptConnect = nullptr;
    decltype(&InternetOpenW) open = nullptr;
    decltype(&InternetConnectW) connect = nullptr;
    decltype(&HttpOpenRequestW) openRequest = nullptr;
    decltype(&InternetCloseHandle) close = nullptr;

private:
    SystemLibrary library_;
};

// One WinINet handle, closed when the owner goes unless kept. Its close call
// comes from the loaded library, so the owner holds the library's table.
class InternetHandle {
public:
    InternetHandle(const WinInet& wininet, HINTERNET handle) : wininet_(wininet), handle_(handle) {}
    ~InternetHandle() {
        if (handle_) wininet_.close(handle_);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;

    HINTERNET get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void keep() { handle_ = nullptr; }

private:
    const WinInet& wininet_;
    HINTERNET handle_;
};

}  // namespace tiqora
