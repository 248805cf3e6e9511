// The one reader of JSON text in the portable core, in two readings:
//  - strict: exactly the JSON grammar (RFC 8259), strings valid UTF-8. The
//    ticket history reads its record files this way: a record that is not
//    exactly JSON is an older one, read with the old splitter instead, so
//    the reader must refuse whatever is not JSON.
//  - lenient: the LAN server's reply, read only for its "status" member.
//    That reply was always read forgivingly (the server's JSON was never
//    checked byte by byte), and a reply refused that counts as delivered
//    today would have a delivered ticket re-sent. Strings take any byte, an
//    escape other than \n, \t and \r stands for its own letter (a \uXXXX
//    escape stays as the letters "uXXXX": no name or value looked for there
//    is written that way), and in place of a number or a literal any run of
//    bytes up to a comma, a closing bracket or a blank is taken as written.
// Both readings take blanks (space, tab, CR, LF) between tokens and refuse
// text that ends inside a value. Free of Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tiqora {

enum class JsonKind { Null, False, True, Number, String, Array, Object };

// One value as read. A string's text comes unescaped, a number's as written
// (never converted, so no size overflows); an array holds its items, an
// object its members in the order written (a name written twice is kept
// twice). The lenient reading gives any bare word other than true, false
// and null as a Number with its text as written: the caller checks it.
struct JsonValue {
    JsonKind kind = JsonKind::Null;
    std::string text;
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;

    bool operator==(const JsonValue&) const = default;
};

// The deepest nesting any reading allows, whatever its rules ask: the reader
// recurses once per level.
inline constexpr int kJsonDeepestNesting = 256;

struct JsonRules {
    bool lenient = false;
    // How deep a value read in one step may nest: its items are one level
    // below it, theirs two, and so on. A value below this level is refused.
    int maxDepth = 32;
};

// Reads JSON text from its start, a step at a time, so a caller can walk the
// members of an object and stop at the one it wants without reading (or
// needing) the rest. Every step but the first below skips blanks first; a
// step that fails leaves the reader somewhere inside the text, good for
// nothing more.
class JsonReader {
public:
    JsonReader(std::string_view text, JsonRules rules);

    // Steps over a UTF-8 byte order mark right at the reader's place.
    void skipByteOrderMark();
    // Takes the character `c`; false (taking nothing) when another comes.
    bool take(char c);
    // True when only blanks are left.
    bool atEnd();
    // A string, unescaped.
    std::optional<std::string> string();
    // One whole value, nested no deeper than the rules allow.
    std::optional<JsonValue> value();
    // Steps over one whole value; false where value() gives none.
    bool skipValue();

private:
    void skipBlanks();
    bool consume(char c);
    bool consumeWord(std::string_view word);
    bool readValue(int depth, JsonValue* out);
    bool readContainer(int depth, JsonValue* out);
    bool readString(std::string* out);
    bool readStrictString(std::string& out);
    bool readLenientString(std::string& out);
    bool readHex4(std::uint32_t& code);
    bool readStrictScalar(JsonValue* out);
    bool readBareWord(JsonValue* out);

    std::string_view text_;
    size_t at_ = 0;
    JsonRules rules_;
};

// `text` as exactly one JSON value with nothing but blanks around it; none
// when it is not.
std::optional<JsonValue> readJson(std::string_view text, JsonRules rules = {});

// Whether bytes are valid UTF-8: no overlong forms, no surrogates, nothing
// past U+10FFFF. The ticket history tells this program's records from older
// ones in the system code page by it.
bool isValidUtf8(std::string_view bytes);

}  // namespace tiqora
