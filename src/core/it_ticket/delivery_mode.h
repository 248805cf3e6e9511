// Which way an IT ticket travels: to the customer's LAN server, to the
// vendor's web console, or nowhere. Decided from the three KRLM.ini flags,
// compared exactly and case-sensitively ("l" is not "L", "on" is not "ON").
#pragma once

#include <string_view>

namespace tiqora {

enum class DeliveryMode { Lan, Web, None };

// The flags as read at start-up (UTF-8 here; they are plain ASCII words).
struct DeliveryFlags {
    std::string_view itTicketServer;  // "L" or "W" force a mode; other non-empty text: none
    std::string_view sendLocalRpt;    // "ON": LAN, whatever SendWebRpt holds
    std::string_view sendWebRpt;      // "ON": web, when SendLocalRpt is not "ON"
};

// The branch of the mode table that matches (rows tested from the top), with
// the two log lines the submission writes around the delivery it runs. Both
// lines are null for the rows that deliver nowhere.
struct DeliveryBranch {
    DeliveryMode mode;
    const char* startLine;
    const char* endLine;
};

DeliveryBranch deliveryBranchFor(const DeliveryFlags& flags);
inline DeliveryMode deliveryModeFor(const DeliveryFlags& flags) { return deliveryBranchFor(flags).mode; }

}  // namespace tiqora
