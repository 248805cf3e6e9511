// Owners of Windows handles: one owner shape, and one kind of owner for each
// kind of handle, so that no code pairs an open with its close by hand on
// every exit path. GDI objects use the same shape in win/gdi.h, beside the
// device contexts; WinINet's handles have theirs in win/internet.h (their
// close call comes from the library loaded at run time), and the server
// check's certificate contexts theirs in win/server_certificate.cpp.
#pragma once

#include <windows.h>

#include <utility>

namespace tiqora {

// Owns one handle and closes it once, when the owner goes or is reset.
// `Traits` names the handle type, the value that holds nothing, what counts
// as a handle at all, and how one is closed.
template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const { return handle_; }
    bool valid() const { return Traits::valid(handle_); }
    explicit operator bool() const { return valid(); }
    void reset(Handle handle = Traits::none()) {
        if (Traits::valid(handle_)) Traits::close(handle_);
        handle_ = handle;
    }
    // Hands the handle over without closing it.
    Handle release() { return std::exchange(handle_, Traits::none()); }

private:
    Handle handle_ = Traits::none();
};

// Kernel objects: files, processes, threads, mutexes. The calls that open
// them report failure as null or as INVALID_HANDLE_VALUE; both hold nothing.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle none() { return nullptr; }
    static bool valid(Handle handle) { return handle && handle != INVALID_HANDLE_VALUE; }
    static void close(Handle handle) { CloseHandle(handle); }
};
using KernelHandle = UniqueHandle<KernelHandleTraits>;

// A search of FindFirstFileW.
struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle none() { return INVALID_HANDLE_VALUE; }
    static bool valid(Handle handle) { return handle && handle != INVALID_HANDLE_VALUE; }
    static void close(Handle handle) { FindClose(handle); }
};
using FindHandle = UniqueHandle<FindHandleTraits>;

// An open registry key.
struct RegistryKeyTraits {
    using Handle = HKEY;
    static Handle none() { return nullptr; }
    static bool valid(Handle handle) { return handle != nullptr; }
    static void close(Handle handle) { RegCloseKey(handle); }
};
using RegistryKey = UniqueHandle<RegistryKeyTraits>;

// A loaded library.
struct ModuleHandleTraits {
    using Handle = HMODULE;
    static Handle none() { return nullptr; }
    static bool valid(Handle handle) { return handle != nullptr; }
    static void close(Handle handle) { FreeLibrary(handle); }
};
using ModuleHandle = UniqueHandle<ModuleHandleTraits>;

// The export `name` of `module` as a function of type `Fn`, or null.
template <typename Fn>
Fn exportOf(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// A library of the system folder, loaded for the life of its owner. The
// program loads the libraries that only some modes use (sockets, adapters,
// WinINet, GDI+) this way when first needed, so start-up does not pay for
// them in every mode.
class SystemLibrary {
public:
    explicit SystemLibrary(const wchar_t* name)
        : module_(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}

    explicit operator bool() const { return module_.valid(); }
    // The export `name`, or null.
    template <typename Fn>
    Fn find(const char* name) const {
        return exportOf<Fn>(module_.get(), name);
    }
    // Keeps the library loaded for the rest of the process.
    void keep() { module_.release(); }

private:
    ModuleHandle module_;
};

}  // namespace tiqora
