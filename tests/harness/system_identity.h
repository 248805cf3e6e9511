// Who this machine is, asked of the system directly, so that a test's
// expectation does not come from the program's own helpers: the host name
// (Winsock), the logon user name, the adapter table's address beside its
// gateway, the name of Windows, and the local time around an event.
#pragma once

#include <windows.h>

#include <string>

namespace tiqora::test {

// gethostname, as 8-bit text widened from the system code page and made UTF-8.
std::string systemHostName();
// GetUserNameW.
std::wstring systemUserName();
// From GetAdaptersInfo: the first address (not 0.0.0.0) of the first adapter
// whose gateway (not 0.0.0.0) is in the same network (the text before the
// last "." agrees). Throws std::runtime_error when there is none, so that a
// test expecting the machine's address fails rather than checks nothing.
std::string systemMachineIp();
// ProductName of HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion, read
// with RegGetValueW; empty when it cannot be read.
std::wstring systemOsName();

SYSTEMTIME localTimeNow();
// Whether `text` is a local time "YYYY-MM-DD hh:mm:ss" that lies between
// `before` and `after` (to the second, both included).
bool isLocalTimeBetween(const std::string& text, const SYSTEMTIME& before, const SYSTEMTIME& after);

}  // namespace tiqora::test
