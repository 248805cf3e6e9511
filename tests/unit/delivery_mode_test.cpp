#include "core/it_ticket/delivery_mode.h"

#include <gtest/gtest.h>

#include <string>

namespace tiqora {
namespace {

const char* name(DeliveryMode mode) {
    switch (mode) {
    case DeliveryMode::Lan: return "LAN";
    case DeliveryMode::Web: return "web";
    case DeliveryMode::None: return "none";
    }
    return "?";
}

TEST(DeliveryMode, FirstMatchingRowWinsAndFlagsCompareExactly) {
    struct Case {
        const char* itTicketServer;
        const char* sendLocalRpt;
        const char* sendWebRpt;
        DeliveryMode mode;
    } cases[] = {
        {"L", "", "", DeliveryMode::Lan},
        {"L", "OFF", "ON", DeliveryMode::Lan},
        {"W", "ON", "", DeliveryMode::Web},
        {"W", "", "N/A", DeliveryMode::Web},
        // Any other non-empty server flag delivers nowhere, whatever else is set.
        {"l", "ON", "ON", DeliveryMode::None},
        {"w", "", "ON", DeliveryMode::None},
        {"LAN", "ON", "ON", DeliveryMode::None},
        {" ", "ON", "ON", DeliveryMode::None},
        {"", "ON", "ON", DeliveryMode::Lan},
        {"", "ON", "N/A", DeliveryMode::Lan},
        {"", "", "ON", DeliveryMode::Web},
        {"", "on", "ON", DeliveryMode::Web},
        {"", "OFF", "ON", DeliveryMode::Web},
        {"", "", "N/A", DeliveryMode::None},
        {"", "", "on", DeliveryMode::None},
        {"", "ON ", "ON ", DeliveryMode::None},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(name(deliveryModeFor({c.itTicketServer, c.sendLocalRpt, c.sendWebRpt})), name(c.mode))
            << "ITTicketServer \"" << c.itTicketServer << "\", SendLocalRpt \"" << c.sendLocalRpt
            << "\", SendWebRpt \"" << c.sendWebRpt << "\"";
    }
}

TEST(DeliveryMode, EachDeliveringRowWritesItsOwnLines) {
    struct Case {
        const char* itTicketServer;
        const char* sendLocalRpt;
        const char* sendWebRpt;
        const char* start;
        const char* end;
    } cases[] = {
        {"L", "", "", "Flag ITticketServer L  check Case start Lan\n", "Flag ITticketServer Lan End"},
        {"W", "", "", "Flag ITticketServer W  check Case start Web\n", "Flag ITticketServer Web End\n"},
        // The LAN lines name SendWebRpt=ON whatever it holds.
        {"", "ON", "OFF", "Flag SendLocalRpt=ON and SendWebRpt=ON Then Strict Lan Moad\n",
         "Flag SendLocalRpt=ON and SendWebRpt=ON Then Strict Lan End"},
        {"", "", "ON", "SendWebRpt=ON Then Strict web Moad\n", "SendWebRpt=ON Then Strict web End"},
    };
    for (const auto& c : cases) {
        const DeliveryBranch branch = deliveryBranchFor({c.itTicketServer, c.sendLocalRpt, c.sendWebRpt});
        ASSERT_NE(branch.startLine, nullptr) << c.itTicketServer << c.sendLocalRpt;
        EXPECT_EQ(std::string(branch.startLine), c.start);
        EXPECT_EQ(std::string(branch.endLine), c.end);
    }
    for (const DeliveryFlags flags : {DeliveryFlags{"X", "ON", "ON"}, DeliveryFlags{"", "", "N/A"}}) {
        const DeliveryBranch branch = deliveryBranchFor(flags);
        EXPECT_EQ(branch.startLine, nullptr);
        EXPECT_EQ(branch.endLine, nullptr);
    }
}

}  // namespace
}  // namespace tiqora
