// Who raises an IT ticket: the machine's host name and IP address and the
// Windows logon user name, as the ticket carries them.
#pragma once

#include <string>

namespace tiqora {

// The network host name (8-bit, system code page), at most 255 characters;
// empty when the socket library cannot tell it (the IT ticket log says so
// when the library does not load).
std::string hostName();

// The machine's IP address (dotted, ASCII): the first address of an adapter
// that lies in the same network as that adapter's gateway (the text up to the
// last "." agrees). Empty when no adapter has one or the list cannot be read.
std::string machineIp();

// The Windows logon user name, at most 260 characters; empty when unknown.
std::wstring logonUserName();

}  // namespace tiqora
