#include "core/text/json_reader.h"

#include <algorithm>

namespace tiqora {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

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

}  // namespace

JsonReader::JsonReader(std::string_view text, JsonRules rules) : text_(text), rules_(rules) {
    rules_.maxDepth = std::min(rules_.maxDepth, kJsonDeepestNesting);
}

void JsonReader::skipByteOrderMark() {
    if (text_.substr(at_, 3) == "\xEF\xBB\xBF") at_ += 3;
}

bool JsonReader::take(char c) {
    skipBlanks();
    return consume(c);
}

bool JsonReader::atEnd() {
    skipBlanks();
    return at_ == text_.size();
}

std::optional<std::string> JsonReader::string() {
    skipBlanks();
    std::string text;
    if (!readString(&text)) return std::nullopt;
    return text;
}

std::optional<JsonValue> JsonReader::value() {
    JsonValue result;
    if (!readValue(0, &result)) return std::nullopt;
    return result;
}

bool JsonReader::skipValue() { return readValue(0, nullptr); }

void JsonReader::skipBlanks() {
    while (at_ < text_.size() && isBlank(text_[at_])) ++at_;
}

bool JsonReader::consume(char c) {
    if (at_ < text_.size() && text_[at_] == c) {
        ++at_;
        return true;
    }
    return false;
}

bool JsonReader::consumeWord(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return false;
    at_ += word.size();
    return true;
}

// A value `depth` levels below the one a step began with; `out` (when given)
// gets it.
bool JsonReader::readValue(int depth, JsonValue* out) {
    skipBlanks();
    if (depth > rules_.maxDepth || at_ >= text_.size()) return false;
    switch (text_[at_]) {
    case '"':
        if (out) out->kind = JsonKind::String;
        return readString(out ? &out->text : nullptr);
    case '{':
    case '[':
        return readContainer(depth, out);
    default:
        return rules_.lenient ? readBareWord(out) : readStrictScalar(out);
    }
}

bool JsonReader::readContainer(int depth, JsonValue* out) {
    const bool isObject = text_[at_] == '{';
    const char close = isObject ? '}' : ']';
    ++at_;
    if (out) out->kind = isObject ? JsonKind::Object : JsonKind::Array;
    if (take(close)) return true;
    for (;;) {
        std::string name;
        if (isObject) {
            skipBlanks();
            if (!readString(&name) || !take(':')) return false;
        }
        JsonValue item;
        if (!readValue(depth + 1, out ? &item : nullptr)) return false;
        if (out && isObject) out->members.emplace_back(std::move(name), std::move(item));
        else if (out) out->items.push_back(std::move(item));
        if (take(',')) continue;
        return take(close);
    }
}

bool JsonReader::readString(std::string* out) {
    if (!consume('"')) return false;
    std::string text;
    if (!(rules_.lenient ? readLenientString(text) : readStrictString(text))) return false;
    if (out) *out = std::move(text);
    return true;
}

// The rest of a string after its opening quote, by the JSON grammar.
bool JsonReader::readStrictString(std::string& out) {
    for (;;) {
        if (at_ >= text_.size()) return false;
        const char c = text_[at_++];
        if (c == '"') break;
        if (static_cast<unsigned char>(c) < 0x20) return false;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (at_ >= text_.size()) return false;
        const char escape = text_[at_++];
        switch (escape) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
            // A character past U+FFFF comes as a high surrogate escape and a
            // low one; a surrogate on its own stands for no character.
            std::uint32_t code = 0;
            if (!readHex4(code)) return false;
            if (code >= 0xD800 && code <= 0xDBFF) {
                std::uint32_t low = 0;
                if (!consumeWord("\\u") || !readHex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            } else if (code >= 0xDC00 && code <= 0xDFFF) {
                return false;
            }
            appendUtf8(out, code);
            break;
        }
        default:
            return false;
        }
    }
    return isValidUtf8(out);
}

// The rest of a string after its opening quote, the lenient way (see the
// header): any byte, and an escape other than \n, \t, \r gives its letter.
bool JsonReader::readLenientString(std::string& out) {
    while (at_ < text_.size()) {
        const char c = text_[at_++];
        if (c == '"') return true;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (at_ >= text_.size()) return false;
        const char escaped = text_[at_++];
        out += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped == 'r' ? '\r' : escaped;
    }
    return false;
}

bool JsonReader::readHex4(std::uint32_t& code) {
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

// true, false, null, or a number: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
bool JsonReader::readStrictScalar(JsonValue* out) {
    const size_t start = at_;
    JsonKind kind = JsonKind::Number;
    if (consumeWord("true")) {
        kind = JsonKind::True;
    } else if (consumeWord("false")) {
        kind = JsonKind::False;
    } else if (consumeWord("null")) {
        kind = JsonKind::Null;
    } else {
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
        if (consume('e') || consume('E')) {
            if (!consume('+')) consume('-');
            if (at_ >= text_.size() || !isDigit(text_[at_])) return false;
            while (at_ < text_.size() && isDigit(text_[at_])) ++at_;
        }
    }
    if (out) {
        out->kind = kind;
        if (kind == JsonKind::Number) out->text.assign(text_.substr(start, at_ - start));
    }
    return true;
}

// In place of a number or a literal, the lenient reading takes the bytes up
// to a comma, a closing bracket or a blank, as written; none is no value.
bool JsonReader::readBareWord(JsonValue* out) {
    const size_t start = at_;
    while (at_ < text_.size()) {
        const char c = text_[at_];
        if (c == ',' || c == '}' || c == ']' || isBlank(c)) break;
        ++at_;
    }
    if (at_ == start) return false;
    const std::string_view word = text_.substr(start, at_ - start);
    if (!out) return true;
    if (word == "true") {
        out->kind = JsonKind::True;
    } else if (word == "false") {
        out->kind = JsonKind::False;
    } else if (word == "null") {
        out->kind = JsonKind::Null;
    } else {
        out->kind = JsonKind::Number;
        out->text.assign(word);
    }
    return true;
}

std::optional<JsonValue> readJson(std::string_view text, JsonRules rules) {
    JsonReader reader(text, rules);
    auto result = reader.value();
    if (!result || !reader.atEnd()) return std::nullopt;
    return result;
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

}  // namespace tiqora
