#include "core/ticket_history/ticket_history.h"

#include <cstdint>

namespace tiqora {

namespace {

constexpr std::string_view kTextEnd = ".txt";
constexpr int kMaxJsonDepth = 32;
// The old splitter never looks past this many fields.
constexpr size_t kMaxFields = 10;

// Pieces of `text` between `separator`s; a run of separators counts as one
// and empty pieces are not kept. At most `limit` pieces.
std::vector<std::string_view> pieces(std::string_view text, char separator, size_t limit) {
    std::vector<std::string_view> result;
    size_t i = 0;
    while (result.size() < limit && i < text.size()) {
        while (i < text.size() && text[i] == separator) ++i;
        const size_t start = i;
        while (i < text.size() && text[i] != separator) ++i;
        if (i > start) result.push_back(text.substr(start, i - start));
    }
    return result;
}

std::string_view pieceAt(const std::vector<std::string_view>& list, size_t index) {
    return index < list.size() ? list[index] : std::string_view();
}

// The second piece of a "name:value" field.
std::string_view valueOfField(std::string_view field) { return pieceAt(pieces(field, ':', 2), 1); }

std::string withoutQuotes(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (char c : text)
        if (c != '"') result += c;
    return result;
}

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// A strict reader of one JSON text (RFC 8259), keeping the top-level members
// of an object. Every step checks the length it reads against the text's end.
class JsonReader {
public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    std::optional<std::vector<std::pair<std::string, std::string>>> topObject() {
        skipBlanks();
        std::vector<std::pair<std::string, std::string>> members;
        if (!consume('{')) return std::nullopt;
        skipBlanks();
        if (!consume('}')) {
            for (;;) {
                skipBlanks();
                std::string name, value;
                if (!string(&name)) return std::nullopt;
                skipBlanks();
                if (!consume(':')) return std::nullopt;
                skipBlanks();
                if (!value_(1, &value)) return std::nullopt;
                members.emplace_back(std::move(name), std::move(value));
                skipBlanks();
                if (consume(',')) continue;
                if (consume('}')) break;
                return std::nullopt;
            }
        }
        skipBlanks();
        if (at_ != text_.size()) return std::nullopt;
        return members;
    }

private:
    bool consume(char c) {
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    bool consumeWord(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }
    void skipBlanks() {
        while (at_ < text_.size() &&
               (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\r' || text_[at_] == '\n'))
            ++at_;
    }

    // A value; its text goes to `out` (when given) for strings and numbers.
    bool value_(int depth, std::string* out) {
        if (depth > kMaxJsonDepth || at_ >= text_.size()) return false;
        switch (text_[at_]) {
        case '"':
            return string(out);
        case '{':
        case '[':
            return container(depth);
        case 't':
            return consumeWord("true");
        case 'f':
            return consumeWord("false");
        case 'n':
            return consumeWord("null");
        default:
            return number(out);
        }
    }

    bool container(int depth) {
        const char close = text_[at_] == '{' ? '}' : ']';
        const bool isObject = close == '}';
        ++at_;
        skipBlanks();
        if (consume(close)) return true;
        for (;;) {
            skipBlanks();
            if (isObject) {
                if (!string(nullptr)) return false;
                skipBlanks();
                if (!consume(':')) return false;
                skipBlanks();
            }
            if (!value_(depth + 1, nullptr)) return false;
            skipBlanks();
            if (consume(',')) continue;
            return consume(close);
        }
    }

    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    bool number(std::string* out) {
        const size_t start = at_;
        consume('-');
        if (consume('0')) {
        } else if (at_ < text_.size() && isDigit(text_[at_])) {
            while (at_ < text_.size() && isDigit(text_[at_])) ++at_;
        } else {
            return false;
        }
        if (consume('.')) {
            if (at_ >= text_.size() || !isDigit(text_[at_])) return false;
            while (at_ < text_.size() && isDigit(text_[at_])) ++at_;
        }
        if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
            ++at_;
            if (!consume('+')) consume('-');
            if (at_ >= text_.size() || !isDigit(text_[at_])) return false;
            while (at_ < text_.size() && isDigit(text_[at_])) ++at_;
        }
        if (out) out->assign(text_.substr(start, at_ - start));
        return true;
    }

    bool hex4(std::uint32_t& code) {
        if (text_.size() - at_ < 4) return false;
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[at_++];
            code <<= 4;
            if (c >= '0' && c <= '9') code |= static_cast<std::uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f') code |= static_cast<std::uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F') code |= static_cast<std::uint32_t>(c - 'A' + 10);
            else return false;
        }
        return true;
    }

    bool string(std::string* out) {
        if (!consume('"')) return false;
        std::string text;
        for (;;) {
            if (at_ >= text_.size()) return false;
            const char c = text_[at_++];
            if (c == '"') break;
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c != '\\') {
                text += c;
                continue;
            }
            if (at_ >= text_.size()) return false;
            const char escape = text_[at_++];
            switch (escape) {
            case '"': text += '"'; break;
            case '\\': text += '\\'; break;
            case '/': text += '/'; break;
            case 'b': text += '\b'; break;
            case 'f': text += '\f'; break;
            case 'n': text += '\n'; break;
            case 'r': text += '\r'; break;
            case 't': text += '\t'; break;
            case 'u': {
                std::uint32_t code = 0;
                if (!hex4(code)) return false;
                if (code >= 0xD800 && code <= 0xDBFF) {
                    std::uint32_t low = 0;
                    if (!consumeWord("\\u") || !hex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                } else if (code >= 0xDC00 && code <= 0xDFFF) {
                    return false;
                }
                appendUtf8(text, code);
                break;
            }
            default:
                return false;
            }
        }
        if (!isValidUtf8(text)) return false;
        if (out) *out = std::move(text);
        return true;
    }

    std::string_view text_;
    size_t at_ = 0;
};

std::string memberOf(const std::vector<std::pair<std::string, std::string>>& members, std::string_view name) {
    for (const auto& [key, value] : members)
        if (key == name) return value;
    return {};
}

// `id` without the " (n)" that a later record of a taken name carries (n a
// number from 2, without leading zero).
std::string_view withoutCandidateNumber(std::string_view id) {
    if (id.size() < 4 || id.back() != ')') return id;
    const size_t open = id.rfind(" (");
    if (open == std::string_view::npos) return id;
    const std::string_view number = id.substr(open + 2, id.size() - open - 3);
    if (number.empty() || number.size() > 9 || number.front() == '0') return id;
    for (const char c : number)
        if (c < '0' || c > '9') return id;
    if (number == "1") return id;
    return id.substr(0, open);
}

}  // namespace

std::optional<RecordName> recordNameOf(std::string_view fileName) {
    if (fileName.size() <= 2 + kTextEnd.size()) return std::nullopt;
    if (fileName[1] != '_' || fileName.substr(fileName.size() - kTextEnd.size()) != kTextEnd) return std::nullopt;
    TicketKind kind;
    if (fileName[0] == 'L') kind = TicketKind::Lan;
    else if (fileName[0] == 'W') kind = TicketKind::Web;
    else return std::nullopt;
    std::string_view id = fileName.substr(2, fileName.size() - 2 - kTextEnd.size());
    id = withoutCandidateNumber(id);
    if (id.empty()) return std::nullopt;
    return RecordName{kind, std::string(id)};
}

std::string priorityWord(std::string_view priorityCode) {
    if (priorityCode == "0") return "Low";
    if (priorityCode == "1") return "Medium";
    return "High";
}

bool isValidUtf8(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        size_t extra = 0;
        std::uint32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (bytes.size() - i <= extra) return false;
        for (size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        // No overlong forms, no surrogates, nothing past U+10FFFF.
        if ((extra == 2 && code < 0x800) || (extra == 3 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

std::optional<std::vector<std::pair<std::string, std::string>>> jsonObjectMembers(std::string_view text) {
    return JsonReader(text).topObject();
}

RecordColumns readLanRecord(std::string_view text) {
    RecordColumns columns;
    columns.status = "New";
    if (const auto members = jsonObjectMembers(text)) {
        columns.issueTitle = memberOf(*members, "IssueTitle");
        columns.description = memberOf(*members, "Description");
        columns.priority = priorityWord(memberOf(*members, "Priority"));
        return columns;
    }
    const std::vector<std::string_view> fields = pieces(text, ',', kMaxFields);
    columns.issueTitle = withoutQuotes(valueOfField(pieceAt(fields, 4)));
    // All after the first colon: a colon inside the description stays. A
    // field without a colon is taken whole.
    const std::string_view description = pieceAt(fields, 5);
    const size_t colon = description.find(':');
    columns.description = withoutQuotes(colon == std::string_view::npos ? description : description.substr(colon + 1));
    columns.priority = priorityWord(withoutQuotes(valueOfField(pieceAt(fields, 6))));
    return columns;
}

RecordColumns readWebRecord(std::string_view text) {
    RecordColumns columns;
    if (const auto members = jsonObjectMembers(text)) {
        columns.issueTitle = memberOf(*members, "IssueTitle");
        columns.description = memberOf(*members, "Description");
        columns.priority = priorityWord(memberOf(*members, "Priority"));
        columns.status = memberOf(*members, "Status");
        return columns;
    }
    const std::string unquoted = withoutQuotes(text);
    const std::vector<std::string_view> fields = pieces(unquoted, ',', kMaxFields);
    columns.issueTitle = valueOfField(pieceAt(fields, 5));
    columns.description = valueOfField(pieceAt(fields, 6));
    columns.priority = priorityWord(valueOfField(pieceAt(fields, 7)));
    columns.status = valueOfField(pieceAt(fields, 8));
    return columns;
}

HistoryChoice historyChoiceFor(const DeliveryFlags& flags) {
    if (flags.itTicketServer == "L") return {DeliveryMode::Lan, "lan case hit this page  L--> %S"};
    if (flags.itTicketServer == "W") return {DeliveryMode::Web, nullptr};
    if (!flags.itTicketServer.empty()) return {DeliveryMode::None, nullptr};
    if (flags.sendLocalRpt == "ON") return {DeliveryMode::Lan, "lan case hit this page SendLanRpt--> %S"};
    if (flags.sendWebRpt == "ON") return {DeliveryMode::Web, nullptr};
    return {DeliveryMode::None, nullptr};
}

}  // namespace tiqora
