// The system libraries that the program binds at their first call
// (delay-loaded, cmake/curl.cmake): ws2_32, bcrypt, crypt32 and secur32,
// which libcurl's upload and the server certificate check call into.
//
// When such a call finds its library missing, the delay-load helper has no
// way to fail but to raise an exception where the call stands, and that
// would end the program. So a step that needs these libraries first loads
// them itself, from the system folder, and keeps them loaded: every
// delay-loaded call then binds to the library already there, and a library
// that does not load fails that one step, which says so in its log. The
// helper's failure hook stays as the last word for a call no step prepared:
// it names the library in the IT ticket log before the exception is raised.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>

namespace tiqora {

// A system library that did not load.
struct LibraryLoadFailure {
    std::string library;      // its file name, e.g. "bcrypt.dll"
    unsigned long error = 0;  // the system's error code (126: it, or a library it needs, is missing)
};

// Loads each of `names` (file names of the system folder) from the system
// folder and keeps it loaded for the rest of the process. The first that
// does not load, or nothing when all do.
std::optional<LibraryLoadFailure> keepSystemLibrariesLoaded(std::initializer_list<const wchar_t*> names);

// Installs the delay-load helper's failure hook, which writes a line to the
// IT ticket log naming the library it could not bind. Called once at
// start-up.
void logDelayLoadFailures();

}  // namespace tiqora
