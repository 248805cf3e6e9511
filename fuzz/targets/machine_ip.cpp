// The machine IP chosen from the adapter list: lines "gateway addr addr ...",
// one adapter a line. The answer is one of the listed addresses, or empty,
// and never 0.0.0.0.
#include "core/it_ticket/ticket_rules.h"
#include "fuzz_target.h"

#include <sstream>

TIQORA_FUZZ_TARGET(machine_ip) {
    std::vector<tiqora::AdapterAddresses> adapters;
    std::istringstream lines{std::string(input)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        tiqora::AdapterAddresses adapter;
        words >> adapter.gateway;
        for (std::string word; words >> word;) adapter.addresses.push_back(word);
        adapters.push_back(std::move(adapter));
    }
    const std::string ip = tiqora::machineIpFrom(adapters);
    if (ip.empty()) return;
    FUZZ_CHECK(ip != "0.0.0.0");
    bool listed = false;
    for (const auto& adapter : adapters)
        for (const auto& address : adapter.addresses) listed = listed || address == ip;
    FUZZ_CHECK(listed);
}
