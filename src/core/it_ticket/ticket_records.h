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

#include "core/it_ticket/delivery_mode.h"

namespace tiqora {

enum class TicketKind { Lan, Web };

// "L_" or "W_" + the ticket id the server returned + ".txt" (an empty id
// gives just the prefix and extension).
std::string sentRecordName(TicketKind kind, std::string_view ticketId);
// The n-th name tried for a record whose first choice is `fileName`, so a
// second record of the same name never overwrites the first: n == 1 (or
// less) gives `fileName`; n >= 2 puts " (" + n + ")" before its ".txt"
// ("W_101.txt" -> "W_101 (2).txt"), or at its end when it has none.
std::string recordNameCandidate(std::string_view fileName, int n);
// recordNameCandidate of sentRecordName(kind, ticketId).
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
// name ("L" LAN ticket, "W" web ticket) and the delivery mode the IT ticket
// form uses, so every ticket the form queued is re-sent by the route it was
// meant for: in LAN mode the LAN tickets go by the LAN route, in web mode the
// web tickets by the web route, and the other kind is left alone. In mode
// none, SendWebRpt decides as it always did: web tickets when it is exactly
// "ON", LAN tickets when it is not.
enum class PendingRoute {
    Web,
    Lan,
    LeaveLan,  // a LAN ticket this mode does not send
    LeaveWeb,  // a web ticket this mode does not send
    NoTicket,  // any other name: not a pending ticket
};
PendingRoute pendingRouteFor(std::string_view fileName, DeliveryMode mode, std::string_view sendWebRpt);

// The log line of a run that left `count` pending tickets of `kind` alone,
// saying why: the delivery mode, or SendWebRpt in mode none. `kind` is one
// that `mode` leaves (LAN files in web mode, web files in LAN mode).
std::string leftPendingLine(TicketKind kind, std::size_t count, DeliveryMode mode);

// The log line of a run that stopped because a server gave no answer at all,
// with the number of pending files that wait for the next run.
std::string stoppedResendLine(std::size_t waiting);

// The name of the temporary file a record is first written to, before it
// takes its final name: "~record-<process id>-<serial>.part". Readers of the
// record folders know it by this name (it is never a record), and a later
// write removes one whose writer is gone.
std::string recordTemporaryName(std::uint32_t processId, std::uint32_t serial);
// The writing process's id when `fileName` is such a temporary; none for any
// other name (every record name among them).
std::optional<std::uint32_t> recordTemporaryWriter(std::string_view fileName);

// Where a "/sysp" run keeps the pending file it is sending: before it sends
// a file, a run moves it into a folder of its own in the pending folder,
// named for the process that holds it, "~sending-<process id>-<process
// start>" (the start as 16 hex digits of the process's creation time, so a
// reused process id is not taken for the run). Another run leaves the files
// of a live run's folder alone and takes up those of a run that has ended.
// The folder keeps the pending folder's own names free and its lookups
// short: a run holds one file there at a time.
struct PendingClaim {
    std::uint32_t processId = 0;
    std::uint64_t processStart = 0;
};
std::string pendingClaimFolderName(const PendingClaim& claim);
// The claim a folder name stands for; none for any other name.
std::optional<PendingClaim> pendingClaimOf(std::string_view folderName);

// The name under which a ticket that was delivered but could not be moved to
// the sent folder stays in the pending folder, so no run ever sends it
// again: "~delivered~" + its own name.
std::string deliveredUnmovedName(std::string_view fileName);

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
