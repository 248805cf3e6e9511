// The core's JSON reader, both readings: a value either one accepts, written
// back, reads again to the same value; and whatever the strict reading
// accepts, the lenient one accepts too (the LAN reply never refuses JSON).
#include "core/text/json_reader.h"
#include "core/text/json_text.h"
#include "fuzz_target.h"

namespace {

constexpr tiqora::JsonRules kStrict{.lenient = false, .maxDepth = 32};
constexpr tiqora::JsonRules kLenient{.lenient = true, .maxDepth = 64};

// A string as the lenient reading takes it back: only the quotation mark
// and the backslash escaped, every other byte as it stands.
std::string lenientString(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out;
}

void write(const tiqora::JsonValue& value, bool lenient, std::string& out) {
    const auto quoted = [&](std::string_view text) {
        out += '"';
        out += lenient ? lenientString(text) : tiqora::jsonEscape(text);
        out += '"';
    };
    switch (value.kind) {
    case tiqora::JsonKind::Null: out += "null"; break;
    case tiqora::JsonKind::False: out += "false"; break;
    case tiqora::JsonKind::True: out += "true"; break;
    case tiqora::JsonKind::Number: out += value.text; break;
    case tiqora::JsonKind::String: quoted(value.text); break;
    case tiqora::JsonKind::Array:
        out += '[';
        for (size_t i = 0; i < value.items.size(); ++i) {
            if (i > 0) out += ',';
            write(value.items[i], lenient, out);
        }
        out += ']';
        break;
    case tiqora::JsonKind::Object:
        out += '{';
        for (size_t i = 0; i < value.members.size(); ++i) {
            if (i > 0) out += ',';
            quoted(value.members[i].first);
            out += ':';
            write(value.members[i].second, lenient, out);
        }
        out += '}';
        break;
    }
}

// Whether the reading accepts the input; what it accepts, written back, must
// read again to the same value.
bool readsBack(std::string_view input, tiqora::JsonRules rules) {
    const auto value = tiqora::readJson(input, rules);
    if (!value) return false;
    std::string text;
    write(*value, rules.lenient, text);
    const auto again = tiqora::readJson(text, rules);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(*again == *value);
    return true;
}

}  // namespace

TIQORA_FUZZ_TARGET(json_reader) {
    const bool strict = readsBack(input, kStrict);
    const bool lenient = readsBack(input, kLenient);
    if (strict) FUZZ_CHECK(lenient);
}
