// The pending resend ("/sysp"): every ticket that could not be delivered
// left a file in the pending folder; this sends each one again, silently,
// and moves it to the sent folder once delivered, so it goes out once.
//
// A pending file is sent whole, as stored, as one body. A file that cannot
// be opened or is empty is left alone without a word; a file holding a NUL
// byte (which would cut the body) is left alone and logged. A file moves
// only after its delivery; a move that fails is logged and the file stays.
#pragma once

#include <string>

#include "environment/process_values.h"
#include "transport/suite_library.h"

namespace tiqora {

// The scan of the "/sysp" mode: loads the transport library if start-up did
// not, walks the pending folder (skipping folders, hidden files and the dot
// entries), sends web files ("W...") when SendWebRpt is exactly "ON" and LAN
// files ("L...") when it is not, then unloads the library. May end the
// process through GetUrl when a LAN file meets no usable LAN address.
void resendPendingTickets(ProcessValues& values);

// Sends the web ticket at `pendingPath` (8-bit) to the pending-ticket service
// (`pendingTicketHost`, 8-bit) through SendWebdata2; delivered when the reply
// holds "VEXO-OK".
void resendPendingWeb(const std::string& pendingPath, const TransportLibrary& transport,
                      const std::string& pendingTicketHost);

// Sends the LAN ticket at `pendingPath` (8-bit) to the LAN server through
// SendWebdata3 (the address from GetUrl, which reads ServerIP.ini of
// `productDataFolder` and may end the process); when the server does not
// confirm it, hands the file to SendLocalData under its local delivery name.
// Loads the transport library from `transportLibraryPath` into `transport`
// when it is not loaded.
void resendPendingLan(const std::string& pendingPath, TransportLibrary& transport,
                      const std::wstring& transportLibraryPath, const std::wstring& productDataFolder);

}  // namespace tiqora
