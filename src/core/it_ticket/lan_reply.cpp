#include "core/it_ticket/lan_reply.h"

#include <charconv>
#include <optional>
#include <string>

#include "core/text/json_reader.h"

namespace tiqora {

namespace {

// Pages of gateways and proxies that stand in for the LAN server.
constexpr std::string_view kHtmlErrorMarks[] = {"<html><body>Connection to server <b>", "<!DOCTYPE HTML PUBLIC"};

// The reply is read the lenient way (core/text/json_reader.h): it was always
// read forgivingly, only for its status, and a reply refused that counts as
// delivered today would have a delivered ticket sent again. A member before
// the status may nest 64 levels below it, as the reply always allowed.
constexpr JsonRules kReplyReading{.lenient = true, .maxDepth = 64};

// The number 1 (as written, leading zeros allowed) or the string "1".
bool statusMeansDelivered(const std::optional<JsonValue>& status) {
    if (!status) return false;
    if (status->kind == JsonKind::String) return status->text == "1";
    if (status->kind != JsonKind::Number) return false;
    const std::string& token = status->text;
    long long number = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), number);
    return error == std::errc() && end == token.data() + token.size() && number == 1;
}

}  // namespace

bool lanReplyDelivered(std::string_view reply) {
    if (reply.empty()) return false;
    for (std::string_view mark : kHtmlErrorMarks)
        if (reply.find(mark) != std::string_view::npos) return false;

    JsonReader reader(reply, kReplyReading);
    reader.skipByteOrderMark();
    if (!reader.take('{')) return false;
    if (reader.take('}')) return false;
    for (;;) {
        const auto name = reader.string();
        if (!name || !reader.take(':')) return false;
        if (*name == "status") return statusMeansDelivered(reader.value());
        if (!reader.skipValue()) return false;
        if (!reader.take(',')) return false;  // the end of the object, or no JSON
    }
}

}  // namespace tiqora
