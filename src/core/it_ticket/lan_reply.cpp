#include "core/it_ticket/lan_reply.h"

#include <charconv>
#include <optional>
#include <string>

namespace tiqora {

namespace {

// Pages of gateways and proxies that stand in for the LAN server.
constexpr std::string_view kHtmlErrorMarks[] = {"<html><body>Connection to server <b>", "<!DOCTYPE HTML PUBLIC"};

// A forgiving reader of just enough JSON to walk the members of one object.
class JsonCursor {
public:
    explicit JsonCursor(std::string_view text) : text_(text) {}

    void skipSpace() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r' ||
                                       text_[pos_] == '\n'))
            ++pos_;
    }
    bool take(char c) {
        skipSpace();
        if (pos_ >= text_.size() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }
    bool peek(char c) {
        skipSpace();
        return pos_ < text_.size() && text_[pos_] == c;
    }
    void skipByteOrderMark() {
        if (text_.substr(pos_, 3) == "\xEF\xBB\xBF") pos_ += 3;
    }

    // A string at the cursor, escapes resolved for the ASCII ones that
    // matter here; none when there is no whole string.
    std::optional<std::string> string() {
        if (!take('"')) return std::nullopt;
        std::string value;
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"') return value;
            if (c == '\\') {
                if (pos_ >= text_.size()) return std::nullopt;
                const char escaped = text_[pos_++];
                // A \uXXXX escape is kept as its letters: no name or value
                // looked for here is written that way.
                value += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped == 'r' ? '\r' : escaped;
                continue;
            }
            value += c;
        }
        return std::nullopt;
    }

    // The text of a number or literal (true, false, null) at the cursor.
    std::string_view bareToken() {
        skipSpace();
        const size_t start = pos_;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == ',' || c == '}' || c == ']' || c == ' ' || c == '\t' || c == '\r' || c == '\n') break;
            ++pos_;
        }
        return text_.substr(start, pos_ - start);
    }

    // Skips one value of any kind; false when the text ends inside it or it
    // is malformed.
    bool skipValue(int depth = 0) {
        if (depth > 64) return false;
        skipSpace();
        if (pos_ >= text_.size()) return false;
        const char c = text_[pos_];
        if (c == '"') return string().has_value();
        if (c == '{' || c == '[') {
            const char close = c == '{' ? '}' : ']';
            ++pos_;
            if (take(close)) return true;
            for (;;) {
                if (c == '{') {
                    if (!string() || !take(':')) return false;
                }
                if (!skipValue(depth + 1)) return false;
                if (take(close)) return true;
                if (!take(',')) return false;
            }
        }
        return !bareToken().empty();
    }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

bool statusMeansDelivered(JsonCursor& cursor) {
    if (cursor.peek('"')) {
        const auto text = cursor.string();
        return text && *text == "1";
    }
    const std::string_view token = cursor.bareToken();
    long long number = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), number);
    return error == std::errc() && end == token.data() + token.size() && number == 1;
}

}  // namespace

bool lanReplyDelivered(std::string_view reply) {
    if (reply.empty()) return false;
    for (std::string_view mark : kHtmlErrorMarks)
        if (reply.find(mark) != std::string_view::npos) return false;

    JsonCursor cursor(reply);
    cursor.skipByteOrderMark();
    if (!cursor.take('{')) return false;
    if (cursor.take('}')) return false;
    for (;;) {
        const auto name = cursor.string();
        if (!name || !cursor.take(':')) return false;
        if (*name == "status") return statusMeansDelivered(cursor);
        if (!cursor.skipValue()) return false;
        if (!cursor.take(',')) return false;  // the end of the object, or no JSON
    }
}

}  // namespace tiqora
