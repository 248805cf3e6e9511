// The LAN server's address for the IT ticket features: GetUrl resolves it
// from ServerIP.ini in the product data folder and checks it with
// validateLink. An address that cannot be found or checked ends the program
// (exit code 0, no message): GetUrl then gives none and its caller ends; the
// IT ticket log says why.
#pragma once

#include <optional>
#include <string>

namespace tiqora {

// What GetUrl resolved. Each run replaces the previous results.
struct LanServerAddress {
    std::wstring host;      // the LAN host, e.g. L"192.168.1.20"
    std::wstring portText;  // e.g. L"7777", or L"81:7777" for a value with its own port
    std::string apiPath;    // the LAN API path, 8-bit
};

// Reads ACIP (else IP) of section "Server" of <productDataFolder>\serverIP.ini
// with the 8-bit profile function, builds and splits the address, appends
// "http://" + host and port + API path to `lanUrl`, and checks the address
// with validateLink. None when no server is named, the address has no dot,
// or the check fails: the caller then ends the program without another step.
std::optional<LanServerAddress> GetUrl(std::wstring& lanUrl, const std::wstring& productDataFolder);

// Makes the WinINet handles for a POST of "/" + `path` to `hostAndPort`
// (connect port 443); nothing is sent. True when a request handle results.
// The handles of a successful check, and WinINet itself, stay until the
// process ends; a failed check releases what it made.
bool validateLink(const std::string& path, const std::wstring& hostAndPort);

}  // namespace tiqora
