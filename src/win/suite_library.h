// Loading the suite's libraries. They are loaded by absolute path only, so no
// DLL is ever picked up from the current folder or PATH, while a suite library
// can still find its own dependencies beside it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "win/handles.h"
#include "win/suite_exports.h"

namespace tiqora {

// The text an export wrote into its reply buffer: up to its NUL, and never
// into the buffer's last byte, which is the terminator's place.
std::string writtenReply(const std::vector<char>& reply);

// Restricts the process's DLL search to the default safe set. Called once at
// start-up, before any library is loaded.
void restrictDllSearchPath();

// A suite library loaded by absolute path; freed when its owner goes.
class SuiteModule {
public:
    SuiteModule() = default;

    // Loads `absolutePath`; an empty module when it does not load.
    static SuiteModule load(const std::wstring& absolutePath);

    explicit operator bool() const { return module_.valid(); }
    HMODULE handle() const { return module_.get(); }
    // The export `name`, or null.
    template <typename Fn>
    Fn find(const char* name) const {
        return exportOf<Fn>(module_.get(), name);
    }
    void reset() { module_.reset(); }
    HMODULE release() { return module_.release(); }

private:
    explicit SuiteModule(HMODULE module) : module_(module) {}
    ModuleHandle module_;
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
