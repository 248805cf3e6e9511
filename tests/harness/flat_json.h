// A strict reader for the JSON the program sends as flat objects of string
// members ({"key":"value",...}), so tests can check that a body is
// well-formed and read its members back in order. Header-only and free of
// Windows headers: the native unit tests and the tests under Wine share it.
//
// Anything that is not such an object (another value type, a bad escape, a
// raw control character inside a string, a lone surrogate, text after the
// object) gives no result.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tiqora::test {

using FlatJsonMembers = std::vector<std::pair<std::string, std::string>>;

namespace flat_json_detail {

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::optional<FlatJsonMembers> object() {
        FlatJsonMembers members;
        skipBlanks();
        if (!take('{')) return std::nullopt;
        skipBlanks();
        if (!take('}')) {
            for (;;) {
                std::string key, value;
                skipBlanks();
                if (!string(key)) return std::nullopt;
                skipBlanks();
                if (!take(':')) return std::nullopt;
                skipBlanks();
                if (!string(value)) return std::nullopt;
                members.emplace_back(std::move(key), std::move(value));
                skipBlanks();
                if (take('}')) break;
                if (!take(',')) return std::nullopt;
            }
        }
        skipBlanks();
        if (at_ != text_.size()) return std::nullopt;
        return members;
    }

private:
    bool take(char c) {
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    void skipBlanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }

    bool hex4(std::uint32_t& value) {
        if (at_ + 4 > text_.size()) return false;
        value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[at_++];
            value <<= 4;
            if (c >= '0' && c <= '9') value |= static_cast<std::uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f') value |= static_cast<std::uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F') value |= static_cast<std::uint32_t>(c - 'A' + 10);
            else return false;
        }
        return true;
    }

    static void appendUtf8(std::string& out, std::uint32_t code) {
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

    bool string(std::string& out) {
        if (!take('"')) return false;
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= text_.size()) return false;
            switch (text_[at_++]) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                std::uint32_t code = 0;
                if (!hex4(code)) return false;
                if (code >= 0xDC00 && code <= 0xDFFF) return false;
                if (code >= 0xD800 && code <= 0xDBFF) {
                    std::uint32_t low = 0;
                    if (!take('\\') || !take('u') || !hex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                }
                appendUtf8(out, code);
                break;
            }
            default: return false;
            }
        }
        return false;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace flat_json_detail

// The members of a flat JSON object of strings, in their order; no result
// when `text` is not one.
inline std::optional<FlatJsonMembers> parseFlatJson(std::string_view text) {
    return flat_json_detail::Reader(text).object();
}

}  // namespace tiqora::test
