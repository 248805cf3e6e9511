// The pending resend ("/sysp"): every ticket that could not be delivered
// left a file in the pending folder; this sends each one again, silently,
// and moves it to the sent folder once delivered, so it goes out once.
//
// A pending file is sent whole, as stored, as one body. A file that cannot
// be opened or is empty is left alone without a word; a file holding a NUL
// byte (which would cut the body) is left alone and logged.
//
// Each ticket goes out once, even when two users' scheduled runs meet in
// the folder: a run first moves a file into a claim folder of its own in
// the pending folder (pendingClaimFolderName), sends it, then moves it to the
// first free name of the sent folder (a record there is never replaced), or
// back to the pending folder when it was not delivered. The files of another
// live run's folder are left alone; those of a run that has ended are taken
// up. A delivered ticket that cannot move to
// the sent folder stays in the pending folder under a name no run sends
// (deliveredUnmovedName), and the log says where. A file that another
// program holds for a moment is waited for (kHeldFileRetryMs); one that
// cannot be moved at all (another user's, not ours to move) waits for a run
// that may.
//
// A run never holds the program (and its single-instance guard) for long:
// the LAN server's address is resolved once, a LAN file that meets no usable
// address ends the run before anything is sent, and two files in a row that
// get no answer at all stop it; the files after them wait for the next run.
#pragma once

#include <string>

#include "core/net/service_address.h"
#include "features/it_ticket/get_url.h"
#include "win/process_values.h"
#include "win/suite_library.h"

namespace tiqora {

// The scan of the "/sysp" mode: loads the transport library if start-up did
// not, walks the pending folder (skipping folders, the dot entries, the
// temporaries of records being written and the files live runs hold) in
// name order, sends the tickets that the IT ticket form's delivery mode
// sends (pendingRouteFor) and logs how many of the other kind it left, then
// unloads the library.
void resendPendingTickets(ProcessValues& values);

// How the resend of one file went.
enum class ResendOutcome {
    Delivered,     // sent and moved out of the way (to the sent folder, or kept as delivered)
    NotDelivered,  // a server answered but did not take it, or it was not sent: it waits
    NoAnswer,      // no server answered at all
};

// A pending ticket that this run holds. Paths are 8-bit, as the libraries
// take them.
struct PendingTicket {
    std::string path;     // the file in this run's claim folder
    std::string ownPath;  // where it lies under its own name, when no run holds it
    std::string folder;   // the pending folder
    std::string name;     // its own name, e.g. "W_101.txt"
};

// Sends the web ticket to the pending-ticket service at `service` ([Hosts]
// PendingTickets): over TLS by the program itself when it says https,
// through SendWebdata2 otherwise; delivered when the reply holds "VEXO-OK".
// A TLS request that got no answer (the certificate refused included) is
// NoAnswer, as a library call that got none.
ResendOutcome resendPendingWeb(const PendingTicket& ticket, const TransportLibrary& transport,
                               const ServiceAddress& service);

// Sends the LAN ticket to the LAN server at `address` (resolved by GetUrl)
// through SendWebdata3; when the server does not confirm it, hands the file
// to SendLocalData under its local delivery name. Loads the transport
// library from `transportLibraryPath` into `transport` when it is not
// loaded.
ResendOutcome resendPendingLan(const PendingTicket& ticket, const LanServerAddress& address,
                               TransportLibrary& transport, const std::wstring& transportLibraryPath);

}  // namespace tiqora
