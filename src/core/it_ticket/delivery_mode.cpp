#include "core/it_ticket/delivery_mode.h"

namespace tiqora {

DeliveryBranch deliveryBranchFor(const DeliveryFlags& flags) {
    if (flags.itTicketServer == "L")
        return {DeliveryMode::Lan, "Flag ITticketServer L  check Case start Lan\n", "Flag ITticketServer Lan End"};
    if (flags.itTicketServer == "W")
        return {DeliveryMode::Web, "Flag ITticketServer W  check Case start Web\n", "Flag ITticketServer Web End\n"};
    if (!flags.itTicketServer.empty()) return {DeliveryMode::None, nullptr, nullptr};
    // These lines name SendWebRpt=ON whatever it holds; the log has always read so.
    if (flags.sendLocalRpt == "ON")
        return {DeliveryMode::Lan, "Flag SendLocalRpt=ON and SendWebRpt=ON Then Strict Lan Moad\n",
                "Flag SendLocalRpt=ON and SendWebRpt=ON Then Strict Lan End"};
    if (flags.sendWebRpt == "ON")
        return {DeliveryMode::Web, "SendWebRpt=ON Then Strict web Moad\n", "SendWebRpt=ON Then Strict web End"};
    return {DeliveryMode::None, nullptr, nullptr};
}

}  // namespace tiqora
