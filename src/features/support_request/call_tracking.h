// The call-tracking submission of a support request: the body goes to the
// vendor's call-tracking service (through the suite's SendWebdata2, or over
// TLS by the program itself when its address says https), a
// successful request is recorded in the request history file, and every
// outcome is told to the customer; the form then ends the program.
#pragma once

#include <windows.h>

#include <string>

#include "core/support_request/request_rules.h"

namespace tiqora {

inline constexpr char kCallTrackingPath[] = "/Android/SaveNewCall.aspx";

// Sends `body` once to the call-tracking service that `hostSetting` ([Hosts]
// CallTracking) names. Over https the program sends it itself; otherwise it
// loads the transport library WBX.DLL of `suiteFolder` (QXPath.ini's
// folder), sends it with SendWebdata2 (agent "Tiqora") and unloads it. The
// reply as the service sent it; empty when no answer came, when the setting
// is no usable address, when the library or its export is missing, and when
// `suiteFolder` is no absolute folder on this machine
// (isLocalAbsoluteFolder): then nothing is loaded. The IT ticket log says
// why.
std::string sendCallTracking(const std::wstring& suiteFolder, const std::wstring& hostSetting, const std::string& body);

// Appends a record to the request history file under the key after "CNT",
// then counts it in "CNT". A count at the integer limit takes no record.
void appendRequestHistory(const std::wstring& historyFile, const std::wstring& record);

struct CallTrackingSetup {
    std::wstring suiteFolder;  // QXPATH: the folder of the WBX.DLL the request loads
    std::wstring host;         // [Hosts] CallTracking: host[:port], maybe with "http://" or "https://"
    std::wstring historyFile;  // product data folder\Tiqora.ini
};

// Sends the request, records it and shows the outcome in a message box owned
// by `form`; the form then ends the program.
void submitCallTracking(HWND form, const CallTrackingRequest& request, const CallTrackingSetup& setup);

}  // namespace tiqora
