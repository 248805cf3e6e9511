#include "harness/vendor_journal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "harness/machine.h"
#include "harness/test_paths.h"
#include "harness/ui_driver.h"
#include "win/wide_text.h"

namespace tiqora::test {

namespace {

std::wstring environment(const wchar_t* name) {
    std::wstring value(256, L'\0');
    for (;;) {
        const DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
        if (length == 0)
            throw std::runtime_error(toUtf8(name) + " is not set: start the vendor services (tools/vendor-services.sh)");
        if (length < value.size()) {
            value.resize(length);
            return value;
        }
        value.resize(length);  // the size needed, terminator included
    }
}

int portFrom(const wchar_t* name) {
    const std::wstring text = environment(name);
    size_t used = 0;
    const int port = std::stoi(text, &used);
    if (used != text.size() || port <= 0 || port > 65535)
        throw std::runtime_error(toUtf8(name) + " is not a port: " + toUtf8(text));
    return port;
}

// The services' state folder: its Linux path through Wine's Z: drive.
std::wstring stateFolder() {
    std::wstring folder = L"Z:" + environment(L"TIQORA_VENDOR_DIR");
    std::replace(folder.begin(), folder.end(), L'/', L'\\');
    while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
    return folder;
}

std::wstring journalFolder() { return stateFolder() + L"\\journal"; }

// Names of the journal's entry folders, in numeric order.
std::vector<std::wstring> entryFolders() {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((journalFolder() + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        const bool numeric = !name.empty() && std::all_of(name.begin(), name.end(), [](wchar_t c) {
            return c >= L'0' && c <= L'9';
        });
        if (numeric && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    return names;
}

// The complete entries: request.txt is written last, and an entry still
// being written hides those after it, so the order is the arrival order.
std::vector<std::wstring> completeEntries() {
    std::vector<std::wstring> complete;
    for (const std::wstring& name : entryFolders()) {
        if (!fileExists(journalFolder() + L"\\" + name + L"\\request.txt")) break;
        complete.push_back(journalFolder() + L"\\" + name);
    }
    return complete;
}

std::string lowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// "form.3.file" -> index 3 and field "file"; false for other keys.
bool indexedKey(const std::string& key, const std::string& prefix, size_t& index, std::string& field) {
    if (key.compare(0, prefix.size(), prefix) != 0) return false;
    const size_t dot = key.find('.', prefix.size());
    if (dot == std::string::npos || dot == prefix.size()) return false;
    const std::string digits = key.substr(prefix.size(), dot - prefix.size());
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
    index = std::stoul(digits);
    field = key.substr(dot + 1);
    return true;
}

std::string readEntryFile(const std::wstring& entry, const std::string& name) {
    bool ok = false;
    std::string bytes = readFileBytes(entry + L"\\" + fromUtf8(name), &ok);
    if (!ok) throw std::runtime_error("journal entry " + toUtf8(entry) + " lacks " + name);
    return bytes;
}

VendorRequest readEntry(const std::wstring& entry) {
    VendorRequest request;
    std::map<size_t, std::pair<std::string, std::string>> form;  // name, file
    std::map<size_t, VendorRequest::Part> parts;
    const std::string text = readEntryFile(entry, "request.txt");
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        const size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        const std::string key = line.substr(0, colon);
        const std::string value = line.substr(colon + 1 < line.size() && line[colon + 1] == ' ' ? colon + 2 : colon + 1);
        size_t index = 0;
        std::string field;
        if (key == "method") {
            request.method = value;
        } else if (key == "path") {
            request.path = value;
        } else if (key == "port") {
            request.port = std::stoi(value);
        } else if (key == "tls") {
            request.overTls = value == "yes";
        } else if (key == "content-type-main") {
            request.contentType = value;
        } else if (key.compare(0, 7, "header.") == 0) {
            request.headers[key.substr(7)] = value;
        } else if (indexedKey(key, "form.", index, field)) {
            (field == "name" ? form[index].first : form[index].second) = value;
        } else if (indexedKey(key, "part.", index, field)) {
            VendorRequest::Part& part = parts[index];
            if (field == "name") part.name = value;
            else if (field == "filename") part.filename = value;
            else if (field == "content-type") part.contentType = value;
            else if (field == "file") part.data = readEntryFile(entry, value);
        }
    }
    request.body = readEntryFile(entry, "body.bin");
    for (const auto& [index, field] : form) request.form.emplace_back(field.first, readEntryFile(entry, field.second));
    for (auto& [index, part] : parts) request.parts.push_back(std::move(part));
    return request;
}

}  // namespace

std::string VendorRequest::header(const std::string& name) const {
    const auto found = headers.find(lowerAscii(name));
    return found == headers.end() ? std::string() : found->second;
}

int vendorPort() { return portFrom(L"TIQORA_VENDOR_PORT"); }
int lanPort() { return portFrom(L"TIQORA_LAN_PORT"); }
int tlsPort() { return portFrom(L"TIQORA_TLS_PORT"); }
int tlsElsewherePort() { return portFrom(L"TIQORA_TLS_ELSEWHERE_PORT"); }
int tlsStrangerPort() { return portFrom(L"TIQORA_TLS_STRANGER_PORT"); }
int tlsExpiredPort() { return portFrom(L"TIQORA_TLS_EXPIRED_PORT"); }
int tlsNotYetValidPort() { return portFrom(L"TIQORA_TLS_NOT_YET_VALID_PORT"); }
int tlsClientOnlyPort() { return portFrom(L"TIQORA_TLS_CLIENT_ONLY_PORT"); }
int tlsSelfSignedPort() { return portFrom(L"TIQORA_TLS_SELF_SIGNED_PORT"); }

void setVendorScenario(const std::string& word) {
    // Written under another name and renamed, so the services never read a
    // half-written word.
    const std::wstring target = stateFolder() + L"\\scenario";
    const std::wstring temporary = target + L".new";
    writeFileBytes(temporary, word + "\n");
    if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
        throw std::runtime_error("cannot set the vendor scenario (error " + std::to_string(GetLastError()) + ")");
}

void clearVendorJournal() {
    for (const std::wstring& name : entryFolders()) {
        const std::wstring entry = journalFolder() + L"\\" + name;
        if (!deleteTree(entry)) throw std::runtime_error("cannot delete journal entry " + toUtf8(entry));
    }
}

std::vector<VendorRequest> vendorRequests() {
    std::vector<VendorRequest> requests;
    for (const std::wstring& entry : completeEntries()) requests.push_back(readEntry(entry));
    return requests;
}

VendorRequest waitForVendorRequest(size_t index, DWORD timeoutMs) {
    std::vector<std::wstring> complete;
    waitUntil([&] { return (complete = completeEntries()).size() > index; },
              "vendor request #" + std::to_string(index + 1), timeoutMs);
    return readEntry(complete[index]);
}

void expectSameRequestAsTheLibrarys(const VendorRequest& overTls, const VendorRequest& throughLibrary) {
    EXPECT_TRUE(overTls.overTls);
    EXPECT_FALSE(throughLibrary.overTls);
    EXPECT_EQ(overTls.method, throughLibrary.method);
    EXPECT_EQ(overTls.path, throughLibrary.path);
    for (const char* header : {"user-agent", "content-type", "accept", "expect"})
        EXPECT_EQ(overTls.header(header), throughLibrary.header(header)) << header;
}

}  // namespace tiqora::test
