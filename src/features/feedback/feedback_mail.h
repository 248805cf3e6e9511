// The feedback's mail to the help desk: the body goes to the help-desk mail
// service that [Hosts] HelpDeskMail names, through the suite's SendWebdata3,
// or over TLS by the program itself when the address says https.
#pragma once

#include <string>

#include "win/suite_library.h"

namespace tiqora {

// Sends `body` once (agent "Feedback", a plain-text answer asked for). The
// reply as the service sent it, read as from the call's 2048-byte buffer;
// empty when no answer came, when `hostSetting` is no usable address or
// when the library has no SendWebdata3. Feedback.log says why where the
// library cannot.
std::string sendFeedbackMail(const TransportLibrary& transport, const std::wstring& hostSetting,
                             const std::string& body);

}  // namespace tiqora
