// The e-mail checks of the support request and of the IT ticket's contact
// customer.
#include "core/it_ticket/ticket_rules.h"
#include "core/support_request/request_rules.h"
#include "fuzz_target.h"

#include <algorithm>

TIQORA_FUZZ_TARGET(email) {
    if (tiqora::isValidTicketEmail(input)) {
        FUZZ_CHECK(std::count(input.begin(), input.end(), '@') == 1);
        FUZZ_CHECK(input.front() != '@' && input.back() != '.');
    }
    if (tiqora::isAcceptableEmail(input)) FUZZ_CHECK(input.find(' ') == std::string_view::npos);
}
