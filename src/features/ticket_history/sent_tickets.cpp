#include "features/ticket_history/sent_tickets.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "core/support_request/request_history.h"
#include "core/ticket_history/ticket_history.h"
#include "win/config_sources.h"
#include "win/files.h"
#include "win/ticket_log.h"
#include "win/wide_text.h"

namespace tiqora {

namespace {

// A record is a ticket body of a few kilobytes; a larger file is read up to
// this many bytes (its columns then come from the old splitter).
constexpr size_t kMaxRecordBytes = 16 * 1024 * 1024;

std::string upToNul(std::string bytes) {
    const size_t nul = bytes.find('\0');
    if (nul != std::string::npos) bytes.resize(nul);
    return bytes;
}

// The bytes of an open file (at most kMaxRecordBytes) up to a NUL; none when
// it is empty or cannot be read.
std::optional<std::string> readWhole(HANDLE file) {
    std::optional<std::string> bytes = readWholeFile(file, kMaxRecordBytes);
    if (!bytes || bytes->empty()) return std::nullopt;
    return upToNul(std::move(*bytes));
}

// A web record's bytes; empty when it cannot be read.
std::string readWebRecordBytes(const std::wstring& path) {
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return {};
    return readWhole(file.get()).value_or(std::string());
}

std::wstring lookupGuid(const ProfileSection<wchar_t>& web, const ProfileSection<wchar_t>& lan, const std::wstring& key) {
    std::wstring guid = web.text(key, L"", kTicketGuidMaxChars);
    if (guid.empty()) guid = lan.text(key, L"", kTicketGuidMaxChars);
    return guid;
}

}  // namespace

std::string recordTextAsUtf8(std::string bytes) {
    if (isValidUtf8(bytes)) return bytes;
    return toUtf8(fromAnsi(bytes));
}

bool readLanRecordBytes(const std::wstring& path, std::string& bytes) {
    bytes.clear();
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        writeTicketLog("Fail to Open File");
        writeTicketLog(toAnsi(path));
        return false;
    }
    // Read whole rather than mapped: a mapping and its view cost four more
    // kernel calls a file, which made a history of 10,000 records three
    // times slower under Wine (1.3 s against 0.4 s), and a named mapping
    // would be shared with any other process using the name. An empty file,
    // which cannot be mapped, is still the failure it always was.
    std::optional<std::string> whole = readWhole(file.get());
    if (!whole) {
        writeTicketLog("Fail To Map");
        return false;
    }
    bytes = std::move(*whole);
    return true;
}

SentTicketScan scanSentTickets(const std::wstring& sentFolder, const std::wstring& ticketIni, DeliveryMode mode) {
    writeTicketLog("finding lan and web file and fill to list control");
    SentTicketScan scan;
    if (mode == DeliveryMode::None) return scan;
    const TicketKind listed = mode == DeliveryMode::Lan ? TicketKind::Lan : TicketKind::Web;

    // One read of each section instead of one lookup per file: a lookup
    // costs about 0.2 ms, so thousands of records would take seconds.
    const ProfileSection<wchar_t> web(readProfileSection(ticketIni, L"WEB"));
    const ProfileSection<wchar_t> lan(readProfileSection(ticketIni, L"LAN"));

    forEachFound(sentFolder + L"\\*.*", [&](const WIN32_FIND_DATAW& found) {
        // A hidden record is listed too (an earlier version left a record
        // hidden when stopped while writing it); a temporary of a record
        // being written has a name that is no record name.
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return;
        const std::optional<RecordName> name = recordNameOf(toUtf8(found.cFileName));
        if (!name || name->kind != listed) return;
        const std::wstring ticketId = fromUtf8(name->ticketId);
        std::wstring guid = lookupGuid(web, lan, ticketId);
        if (guid.empty()) return;

        const std::wstring path = sentFolder + L"\\" + found.cFileName;
        RecordColumns columns;
        if (listed == TicketKind::Lan) {
            ++scan.lanRecordsMet;
            std::string bytes;
            if (!readLanRecordBytes(path, bytes)) return;
            columns = readLanRecord(recordTextAsUtf8(std::move(bytes)));
        } else {
            columns = readWebRecord(recordTextAsUtf8(readWebRecordBytes(path)));
        }
        scan.tickets.push_back({listed, ticketId, std::move(guid), fromUtf8(columns.issueTitle),
                                fromUtf8(columns.description), fromUtf8(columns.status), fromUtf8(columns.priority)});
    });
    return scan;
}

}  // namespace tiqora
