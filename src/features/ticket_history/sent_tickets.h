// The tickets this machine delivered, as the ticket history lists them: the
// record files of the sent folder whose ticket GUID Tiqora.ini knows, of the
// kind the delivery flags choose, each read by its kind's reader. Nothing is
// ever written: records are opened for reading only.
#pragma once

#include <string>
#include <vector>

#include "core/it_ticket/delivery_mode.h"
#include "core/it_ticket/ticket_records.h"

namespace tiqora {

struct SentTicket {
    TicketKind kind;
    std::wstring ticketId;  // the name between "L_"/"W_" and ".txt"
    std::wstring guid;      // from section "WEB", else "LAN"
    std::wstring issueTitle, description, status, priority;
};

struct SentTicketScan {
    // In the order the file system listed the files.
    std::vector<SentTicket> tickets;
    // LAN records met (read or not): the history then shows the first row in
    // its detail panel.
    size_t lanRecordsMet = 0;
};

// Lists `sentFolder` (no recursion; folders and names that are no record
// name, such as the temporary "~record-*.part" of a record being written,
// are skipped; hidden records are listed). A later record of a taken name
// ("W_101 (2).txt") is listed under its ticket's id and GUID.
// The GUIDs come from one read of each of the sections "WEB" and "LAN" of
// `ticketIni`. `mode` None lists nothing. A LAN record that cannot be opened
// or mapped is logged ("Fail to Open File" and its path, or "Fail To Map")
// and gives no row; a web record that cannot be read gives a row of empty
// texts.
SentTicketScan scanSentTickets(const std::wstring& sentFolder, const std::wstring& ticketIni, DeliveryMode mode);

// The bytes of a LAN record: the file opened for reading only (sharing read
// and write, so a record another program holds open for writing still
// reads), read whole without any mapping, the text bounded by the file's
// size and cut at its first NUL byte. False (and a log line: "Fail to Open
// File" and the path, or "Fail To Map") when it cannot be opened or read;
// an empty file gives "Fail To Map", as it always did.
bool readLanRecordBytes(const std::wstring& path, std::string& bytes);

// A record's bytes as UTF-8: this program writes UTF-8; older records in
// the system code page are converted.
std::string recordTextAsUtf8(std::string bytes);

}  // namespace tiqora
