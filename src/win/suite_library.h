// Loading the suite's libraries. They are loaded by absolute path only, so no
// DLL is ever picked up from the current folder or PATH, while a suite library
// can still find its own dependencies beside it.
#pragma once

#include <windows.h>

#include <string>

#include "win/suite_exports.h"

namespace tiqora {

// Restricts the process's DLL search to the default safe set. Called once at
// start-up, before any library is loaded.
void restrictDllSearchPath();

// Owns a loaded module; frees it on destruction. Movable, not copyable.
class SuiteModule {
public:
    SuiteModule() = default;
    ~SuiteModule() { reset(); }
    SuiteModule(SuiteModule&& other) noexcept : module_(other.release()) {}
    SuiteModule& operator=(SuiteModule&& other) noexcept;
    SuiteModule(const SuiteModule&) = delete;
    SuiteModule& operator=(const SuiteModule&) = delete;

    // Loads `absolutePath`; an empty module when it does not load.
    static SuiteModule load(const std::wstring& absolutePath);

    explicit operator bool() const { return module_ != nullptr; }
    HMODULE handle() const { return module_; }
    // The export `name`, or null.
    template <typename Fn>
    Fn find(const char* name) const {
        return module_ ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name))) : nullptr;
    }
    void reset();
    HMODULE release();

private:
    explicit SuiteModule(HMODULE module) : module_(module) {}
    HMODULE module_ = nullptr;
};

// The transport library as start-up holds it: the module with its
// SendWebdata3 and SendWebdata2 entry points. A library without SendWebdata3
// is no usable transport: it is unloaded and the result is empty, so every
// mode still opens and each sending feature reports its own failure.
struct TransportLibrary {
    SuiteModule module;
    SendWebdata3Fn sendWebdata3 = nullptr;
    SendWebdata2Fn sendWebdata2 = nullptr;

    bool loaded() const { return static_cast<bool>(module); }
    void unload() {
        module.reset();
        sendWebdata3 = nullptr;
        sendWebdata2 = nullptr;
    }
};

TransportLibrary loadTransportLibrary(const std::wstring& path);

}  // namespace tiqora
