// What the suite's libraries read of the suite's own configuration: the LAN
// server named in ServerIP.ini of the product data folder.
#pragma once

#include <optional>
#include <string>

#include "wbx_rules.h"

namespace wbx {

// The LAN server of ServerIP.ini (ACIP, else IP), or none.
std::optional<Endpoint> configuredLanServer();

// True when a readable file exists at `path` (8-bit, system code page).
bool fileReadable(const char* path);

// The last component of a path.
std::string baseName(const std::string& path);

}  // namespace wbx
