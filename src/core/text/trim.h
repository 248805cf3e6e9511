// Trimming text at both ends or at its end, for narrow and wide text.
#pragma once

#include <string_view>

namespace tiqora {

// White space as the C locale's isspace knows it: blank, tab, CR, LF, VT, FF.
template <typename Char>
constexpr bool isAsciiWhiteSpace(Char c) {
    return c == Char(' ') || c == Char('\t') || c == Char('\r') || c == Char('\n') || c == Char('\v') ||
           c == Char('\f');
}

// Blank and tab: what the profile functions drop around keys and values.
template <typename Char>
constexpr bool isBlankOrTab(Char c) {
    return c == Char(' ') || c == Char('\t');
}

// `text` without the characters at its end for which `isTrimmed` holds.
template <typename Char, typename Predicate>
constexpr std::basic_string_view<Char> trimmedEnd(std::basic_string_view<Char> text, Predicate isTrimmed) {
    while (!text.empty() && isTrimmed(text.back())) text.remove_suffix(1);
    return text;
}

// `text` without the characters at either end for which `isTrimmed` holds.
template <typename Char, typename Predicate>
constexpr std::basic_string_view<Char> trimmed(std::basic_string_view<Char> text, Predicate isTrimmed) {
    while (!text.empty() && isTrimmed(text.front())) text.remove_prefix(1);
    return trimmedEnd(text, isTrimmed);
}

// `text` without ASCII white space at either end.
constexpr std::string_view trimmedWhiteSpace(std::string_view text) {
    return trimmed(text, isAsciiWhiteSpace<char>);
}

}  // namespace tiqora
