// Rules of the sortable list, free of Windows headers so they are tested
// natively: the column specification, the comparison of two rows, the
// order of the rows sorted by a column, the direction a heading click
// chooses, the row type-to-find lands on, and the colour of a row.
//
// The comparison and the row colour work on any character type: the list
// hands them its wide texts without conversion (a sort of 20,000 rows makes
// some 300,000 comparisons), the tests use char.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tiqora::ui {

struct ColumnSpec {
    std::string title;  // UTF-8
    int width = 0;      // pixels
};

// "Title,width;Title,width;...": entries separated by ';', title and width by
// ','. Parsing stops at the first entry without a ','. A width is read like
// atoi (leading blanks and a sign allowed, stops at the first non-digit,
// empty or non-numeric gives 0).
std::vector<ColumnSpec> parseColumnSpec(std::string_view spec);

// A heading click sorts ascending, unless it is the column sorted last and
// that sort was ascending: then it sorts descending.
inline bool sortAscendingAfterClick(int clickedColumn, int sortColumn, bool sortAscending) {
    return !(clickedColumn == sortColumn && sortAscending);
}

namespace detail {

template <typename Char>
bool isDigit(Char c) {
    return c >= Char('0') && c <= Char('9');
}

// Decimal value of `text` like the C runtime's integer conversion (leading
// blanks, a sign, digits up to the first other character), kept to its low
// 32 bits so that no length of digits can overflow.
template <typename Char>
std::int32_t lowBitsOfDecimal(std::basic_string_view<Char> text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == Char(' ') || text[i] == Char('\t'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == Char('+') || text[i] == Char('-'))) negative = text[i++] == Char('-');
    std::uint32_t value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) value = value * 10u + static_cast<std::uint32_t>(text[i] - Char('0'));
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

// The number at [from, from + count) of a text; characters past its end count
// as missing, so a short text reads as 0 there instead of being read beyond.
template <typename Char>
std::int32_t numberAt(std::basic_string_view<Char> text, size_t from, size_t count) {
    if (from >= text.size()) return 0;
    return lowBitsOfDecimal(text.substr(from, count));
}

template <typename Char>
bool isDayMonthYear(std::basic_string_view<Char> text) {
    if (text.size() != 10 || text[2] != Char('/') || text[5] != Char('/')) return false;
    for (size_t i : {0, 1, 3, 4, 6, 7, 8, 9})
        if (!isDigit(text[i])) return false;
    return true;
}

inline int sign(std::int64_t difference) { return difference < 0 ? -1 : (difference > 0 ? 1 : 0); }

}  // namespace detail

// Compares the sort-column texts of two rows: numbers when every character
// of `a` is a digit (an empty `a` too), day/month/year dates when `a` is
// one, else `compareText` (the user's locale at the Windows edge). Only `a`
// decides the rule. Descending swaps the two.
template <typename Char>
int compareRowTexts(std::basic_string_view<Char> a, std::basic_string_view<Char> b, bool ascending,
                    const std::function<int(std::basic_string_view<Char>, std::basic_string_view<Char>)>& compareText) {
    bool allDigits = true;
    for (Char c : a) allDigits = allDigits && detail::isDigit(c);
    const bool isDate = !allDigits && detail::isDayMonthYear(a);
    if (!ascending) std::swap(a, b);
    if (allDigits) return detail::sign(std::int64_t{detail::lowBitsOfDecimal(a)} - detail::lowBitsOfDecimal(b));
    if (isDate) {
        for (auto [from, count] : {std::pair<size_t, size_t>{6, 4}, {3, 2}, {0, 2}}) {
            const int order = detail::sign(std::int64_t{detail::numberAt(a, from, count)} - detail::numberAt(b, from, count));
            if (order != 0) return order;
        }
        return 0;
    }
    return detail::sign(compareText(a, b));
}

// Sorts `rows` by `compare` (negative, zero or positive, as compareRowTexts
// answers), keeping rows that compare equal in the order they had: a
// bottom-up merge sort. It reads and writes only inside the two vectors
// whatever `compare` answers, so a comparison that is not a strict order
// (compareRowTexts lets the first text choose the rule) gives some order
// but never reads past an end.
template <typename Row, typename Compare>
void stableSortRows(std::vector<Row>& rows, Compare compare) {
    std::vector<Row> merged(rows.size());
    for (size_t width = 1; width < rows.size(); width *= 2) {
        for (size_t left = 0; left < rows.size(); left += 2 * width) {
            const size_t middle = std::min(left + width, rows.size());
            const size_t end = std::min(left + 2 * width, rows.size());
            size_t a = left, b = middle, out = left;
            // The left row goes first unless it compares greater than the
            // right one: equal rows keep their order.
            while (a < middle && b < end) merged[out++] = std::move(compare(rows[a], rows[b]) > 0 ? rows[b++] : rows[a++]);
            while (a < middle) merged[out++] = std::move(rows[a++]);
            while (b < end) merged[out++] = std::move(rows[b++]);
        }
        rows.swap(merged);
    }
}

// Sorts rows by the texts of one column (`textOf(row, column)`), by the rules
// of compareRowTexts; rows with equal texts keep their order.
template <typename Char, typename Row, typename TextOf>
void sortRowsByColumn(std::vector<Row>& rows, int column, bool ascending, TextOf textOf,
                      const std::function<int(std::basic_string_view<Char>, std::basic_string_view<Char>)>& compareText) {
    stableSortRows(rows, [&](const Row& a, const Row& b) {
        return compareRowTexts<Char>(textOf(a, column), textOf(b, column), ascending, compareText);
    });
}

// Type-to-find: the first of `rowCount` rows, from `start` on, for which
// `matches(row)` holds; past the last row the search goes on from the top
// when `wrap`, up to the row before `start`. None when no row matches. A
// start outside the rows starts at the top.
template <typename Matches>
std::optional<size_t> findRow(size_t rowCount, size_t start, bool wrap, Matches matches) {
    if (start >= rowCount) start = 0;
    for (size_t row = start; row < rowCount; ++row)
        if (matches(row)) return row;
    if (wrap)
        for (size_t row = 0; row < start; ++row)
            if (matches(row)) return row;
    return std::nullopt;
}

// Colours are 0x00BBGGRR, as Windows lays out COLORREF.
constexpr std::uint32_t rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) | (static_cast<std::uint32_t>(b) << 16);
}

struct RowShade {
    std::uint32_t background;
    bool byStatus;  // the status word chose the colour
};

// Rows alternate RGB(250,250,250) / RGB(235,235,235); a status word in the
// fifth column (any case) paints the row green or red instead.
template <typename Char>
RowShade rowShade(size_t rowIndex, std::basic_string_view<Char> status) {
    struct Word {
        const char* text;
        std::uint32_t colour;
    };
    static constexpr Word kWords[] = {{"Deleted", rgb(0, 255, 0)},    {"Not Present", rgb(255, 0, 0)},
                                      {"Old Present", rgb(0, 255, 0)}, {"Restored", rgb(0, 255, 0)},
                                      {"Error", rgb(255, 0, 0)}};
    auto lower = [](long c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; };
    for (const Word& word : kWords) {
        const std::string_view expected = word.text;
        if (expected.size() != status.size()) continue;
        bool same = true;
        for (size_t i = 0; same && i < expected.size(); ++i)
            same = lower(static_cast<long>(status[i])) == lower(expected[i]);
        if (same) return {word.colour, true};
    }
    return {rowIndex % 2 == 0 ? rgb(250, 250, 250) : rgb(235, 235, 235), false};
}

}  // namespace tiqora::ui
