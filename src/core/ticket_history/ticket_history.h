// The rules of the ticket history, free of Windows headers so they are tested
// natively: which record files of the sent folder belong to the list and
// under which key, how a LAN or web record file gives its columns, the
// priority words, and which kind of ticket the delivery flags list and open.
// Text is UTF-8 throughout.
//
// A record file holds the JSON body with which its ticket was delivered.
// Every body this program writes is a valid JSON object, read here by member
// name, so a comma, a colon or a quote inside a title or a description stays
// where it belongs. Older records that are not valid JSON are read with the
// splitter they were always read with (fields by position).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/it_ticket/delivery_mode.h"
#include "core/it_ticket/ticket_records.h"

#include "core/text/json_reader.h"

namespace tiqora {

// A record file of the sent folder by its name: "L_" (LAN) or "W_" (web),
// the ticket id, ".txt". The ticket id is both the id the list shows and the
// key of the ticket's GUID in Tiqora.ini. A later record of a name that was
// taken carries " (n)" before ".txt" (n from 2, see recordNameCandidate):
// it is a record of the same id. Any other name ("L_.txt", "readme.txt",
// "Lx", "L_12" without ".txt") is no record: none.
struct RecordName {
    TicketKind kind;
    std::string ticketId;
};
std::optional<RecordName> recordNameOf(std::string_view fileName);

// The longest GUID a lookup takes (a buffer of 260 characters).
inline constexpr size_t kTicketGuidMaxChars = 259;

// What a record gives the list besides its id.
struct RecordColumns {
    std::string issueTitle;
    std::string description;
    std::string priority;  // the priority word: "Low", "Medium", "High"
    std::string status;
};

// "0" gives "Low", "1" "Medium", anything else (also "2" and "") "High".
std::string priorityWord(std::string_view priorityCode);

// A LAN record: members IssueTitle, Description and Priority; the status is
// always "New". A record that is not valid JSON is split at commas (a run of
// commas counts as one) and fields 5, 6, 7 give title (second piece at
// colons, quotes removed), description (all after the first colon, quotes
// removed) and priority (second piece at colons, quotes removed).
RecordColumns readLanRecord(std::string_view text);

// A web record: members IssueTitle, Description, Priority and Status. A
// record that is not valid JSON loses every double quote, is split at commas
// as above, and fields 6 to 9 give title, description, priority and status,
// each the second piece at colons (so a colon cuts a description there).
RecordColumns readWebRecord(std::string_view text);

// The top-level members of a JSON object, in order, when `text` is exactly
// one valid JSON object (blanks around it allowed). Values that are strings
// come unescaped, numbers as written, anything else (true, false, null,
// objects, arrays) as empty text. Not valid JSON, or nested deeper than 32
// levels: none.
std::optional<std::vector<std::pair<std::string, std::string>>> jsonObjectMembers(std::string_view text);

// isValidUtf8 (core/text/json_reader.h) tells a record this program wrote
// (UTF-8) from an older one in the system code page.

// Which kind of ticket the history lists and opens, by the delivery flags
// (the same table as the delivery): LAN records with the LAN page, web
// records with the web page, or nothing. For LAN, the log line of the page
// ("%S" where the address goes) names the flag that chose it.
struct HistoryChoice {
    DeliveryMode mode;
    const char* lanLogFormat;  // null unless mode is Lan
};
HistoryChoice historyChoiceFor(const DeliveryFlags& flags);

}  // namespace tiqora
