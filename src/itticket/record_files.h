// Writing ticket record files. A record is written whole or not at all: the
// bytes go to a hidden temporary file in the same folder, which is then given
// its final name in one step, so a crash mid-write leaves no half record for
// the resend or the history to read. An existing file is never changed: a
// name that is taken is left alone and the next candidate name is tried.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "itticket/ticket_records.h"

namespace tiqora {

// Writes the record of a delivered ticket into the sent folder as "L_<id>.txt"
// or "W_<id>.txt", or, when a record of that name exists, as
// "L_<id> (2).txt", "L_<id> (3).txt", ... Returns the path written; none
// when the folder cannot take it.
std::optional<std::wstring> writeSentRecord(const std::wstring& sentFolder, TicketKind kind,
                                            std::string_view ticketId, std::string_view bytes);

// Writes the record of an undelivered ticket into the pending folder as
// "L_<tick>.txt" or "W_<tick>.txt"; a name that exists already is replaced by
// the next unused one of the same shape (tick + 1, + 2, ...). Returns the path
// written; none when the folder cannot take it.
std::optional<std::wstring> writePendingRecord(const std::wstring& pendingFolder, TicketKind kind,
                                               std::uint32_t tickCount, std::string_view bytes);

}  // namespace tiqora
