// Every test starts from a machine where none of the program's processes
// runs, and a test that leaves a program running fails: a program left
// behind holds the program's mutex, its files or a port, and the test after
// it would meet it. A test binary with this file among its sources registers
// a listener that, at the end of each test, names and ends every process the
// test started that still runs (adding a failure to that test), and before
// each test ends what a test that never reached its end (one that ctest
// ended at its time-out) left behind, naming that test.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tiqora::test {

// A process the listener ended: its image and id.
struct EndedProcess {
    std::wstring image;
    DWORD pid = 0;
};

// Whether a process whose file name is `image` (e.g. L"notepad.exe", case
// ignored) runs.
bool processRunning(const wchar_t* image);

// Ends, and waits for, every process whose image lies in one of `folders`
// (compared without regard to case), this process excepted.
std::vector<EndedProcess> endProcessesIn(const std::vector<std::wstring>& folders);

// The folders whose programs belong to a test: the install folder, the
// build's binaries and the browser stand-ins' folder.
std::vector<std::wstring> testProgramFolders();

}  // namespace tiqora::test
