// Every test starts from a machine where none of the program's processes
// runs: a test that timed out or failed half-way may leave TiqoraDesk.exe
// (holding the program's mutex), a log writer or a stand-in behind, and the
// test after it would meet them. A test binary with this file among its
// sources registers a listener that ends them before each test.
#pragma once

#include <string>
#include <vector>

namespace tiqora::test {

// Ends, and waits for, every process whose image lies in one of `folders`
// (compared without regard to case), this process excepted. The number
// ended.
size_t endProcessesIn(const std::vector<std::wstring>& folders);

// The folders whose programs belong to a test: the install folder, the
// build's binaries and the browser stand-ins' folder.
std::vector<std::wstring> testProgramFolders();

}  // namespace tiqora::test
