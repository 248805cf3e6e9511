// Ticket record files: every IT ticket leaves one text file behind, in the
// sent folder ("S") when it was delivered, in the pending folder ("P") when
// it still has to be. The first letter of the name tells the kind: "L" LAN,
// "W" web. A pending file keeps its name when the resend moves it to "S".
//
// Names and paths are 8-bit texts here, whatever their code page: only ASCII
// marks ("\", "_", ".txt") are looked for or added.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tiqora {

enum class TicketKind { Lan, Web };

// "L_" or "W_" + the ticket id the server returned + ".txt" (an empty id
// gives just the prefix and extension).
std::string sentRecordName(TicketKind kind, std::string_view ticketId);
// The n-th name tried for a record in the sent folder, so a second record of
// the same id never overwrites the first: n == 1 (or less) gives
// sentRecordName(kind, ticketId); n >= 2 gives "L_" or "W_" + the id +
// " (" + n + ").txt".
std::string sentRecordCandidate(TicketKind kind, std::string_view ticketId, int n);
// "L_" or "W_" + the tick count as a signed 32-bit decimal + ".txt".
std::string pendingRecordName(TicketKind kind, std::uint32_t tickCount);

// Where a pending file goes once delivered: the same path with the pending
// folder "IT TICKET\P\" swapped for the sent folder "IT TICKET\S\" (the last
// such folder of the path, so a parent folder of the same name is left
// alone). None when the path does not lie in a pending folder.
std::optional<std::string> sentPathForPending(std::string_view pendingPath);

// The last component of a path.
std::string_view fileNameOf(std::string_view path);

// What the "/sysp" scan does with a pending file, by the first letter of its
// name: web files only when SendWebRpt is exactly "ON", LAN files only when
// it is not; anything else is left alone.
enum class PendingRoute { Web, Lan, LeaveAlone };
PendingRoute pendingRouteFor(std::string_view fileName, std::string_view sendWebRpt);

struct LocalDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

// The name under which a pending LAN ticket is handed to the LAN server as a
// file: licence code + "_" + date ("%4d-%.2d-%.2d") + "_" + the pending
// file's name with every ".txt" turned into ".itt".
std::string localDeliveryName(std::string_view licenceCode, const LocalDate& today, std::string_view fileName);

// Whether a pending file's bytes can go out as one text body. The transport
// library takes NUL-terminated text, so a NUL byte would cut the body.
enum class PendingBody { Ready, Empty, HoldsNul };
PendingBody checkPendingBody(std::string_view bytes);

}  // namespace tiqora
