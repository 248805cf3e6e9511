// Writing and moving ticket record files. A record is written whole or not
// at all: the bytes go to a temporary file in the same folder, known by its
// name (recordTemporaryName), which is then given its final name in one
// step. That rename is the last step, so a finished record is whole and
// visible at once, and a crash mid-write leaves only a temporary, which no
// reader takes for a record and the next write to that folder removes. An
// existing record is never changed: a name that is taken is left alone and
// the next candidate name is tried.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/it_ticket/ticket_records.h"

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

// Moves the record at `source` to `destination`, or, when a file of that name
// exists, to the first free name after it (recordNameCandidate: "W_101.txt",
// "W_101 (2).txt", ...) in the same folder; a hidden record is made visible.
// Returns the path it took; none when it could not be moved (the record
// stays at `source`).
std::optional<std::wstring> moveRecordUnderFirstFreeName(const std::wstring& source, const std::wstring& destination);

// For tests only: called with the temporary's path after its bytes are
// written and before it is renamed; a hook that throws stops the write there,
// as a crash at that point would.
using RecordWriteHook = void (*)(const std::wstring& temporaryPath);
void setRecordWriteHookForTests(RecordWriteHook hook);

}  // namespace tiqora
