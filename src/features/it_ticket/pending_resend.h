// The pending resend ("/sysp"): every ticket that could not be delivered
// left a file in the pending folder; this sends each one again, silently,
// and moves it to the sent folder once delivered, so it goes out once.
//
// A pending file is sent whole, as stored, as one body. A file that cannot
// be opened or is empty is left alone without a word; a file holding a NUL
// byte (which would cut the body) is left alone and logged. A file moves
// only after its delivery, to the first free name of the sent folder (a
// record there is never replaced); a move that fails is logged and the file
// stays.
//
// A run never holds the program (and its single-instance guard) for long:
// the LAN server's address is resolved once, and when a file's delivery
// gets no answer at all the run stops there; the files after it wait for
// the next run.
#pragma once

#include <string>

#include "features/it_ticket/get_url.h"
#include "win/process_values.h"
#include "win/suite_library.h"

namespace tiqora {

// The scan of the "/sysp" mode: loads the transport library if start-up did
// not, walks the pending folder (skipping folders, the dot entries and the
// temporaries of records being written), sends the tickets that the IT
// ticket form's delivery mode sends (pendingRouteFor) and logs how many of
// the other kind it left, then unloads the library. A LAN file that meets
// no usable LAN address (GetUrl) ends the run there, with no further line.
void resendPendingTickets(ProcessValues& values);

// How the resend of one file went.
enum class ResendOutcome {
    Delivered,     // sent and moved to the sent folder
    NotDelivered,  // a server answered but did not take it, or it was not sent: it waits
    NoAnswer,      // no server answered at all: the run goes no further
};

// Sends the web ticket at `pendingPath` (8-bit) to the pending-ticket service
// (`pendingTicketHost`, 8-bit) through SendWebdata2; delivered when the reply
// holds "VEXO-OK".
ResendOutcome resendPendingWeb(const std::string& pendingPath, const TransportLibrary& transport,
                               const std::string& pendingTicketHost);

// Sends the LAN ticket at `pendingPath` (8-bit) to the LAN server at
// `address` (resolved by GetUrl) through SendWebdata3; when the server does
// not confirm it, hands the file to SendLocalData under its local delivery
// name. Loads the transport library from `transportLibraryPath` into
// `transport` when it is not loaded.
ResendOutcome resendPendingLan(const std::string& pendingPath, const LanServerAddress& address,
                               TransportLibrary& transport, const std::wstring& transportLibraryPath);

}  // namespace tiqora
