// Reading the request history file (section "Tiqora" of Tiqora.ini: "CNT"
// and one record per key "1".."CNT") from one read of its whole section,
// exactly as one profile lookup per key would read it. Free of Windows
// headers and generic over the character type, so the rules are tested
// natively and the dialog uses them on wide text without conversion.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/text/trim.h"

namespace tiqora {

// Longest record a lookup hands over (a 1024-character buffer).
inline constexpr size_t kHistoryRecordMaxChars = 1023;

// Most rows the history shows: a damaged "CNT" (say two thousand million)
// must not make the dialog build rows until memory runs out. Real histories
// stay far below it.
inline constexpr int kHistoryMaxRows = 100000;

template <typename Char>
class ProfileSection {
public:
    using String = std::basic_string<Char>;
    using View = std::basic_string_view<Char>;

    // `entries`: the lines of the section as the system hands them over,
    // "key=value" each.
    explicit ProfileSection(std::vector<String> entries) : entries_(std::move(entries)) {
        // One index of the first entry of each key, so that reading all the
        // records stays linear in their number.
        for (size_t i = 0; i < entries_.size(); ++i) {
            const auto equals = entries_[i].find(Char('='));
            if (equals == String::npos) continue;
            firstEntry_.emplace(folded(trim(View(entries_[i]).substr(0, equals))), i);
        }
    }

    // The value of `key` as a lookup returns it: the first entry with that
    // key (case ignored) wins, blanks around key and value do not count, and
    // one pair of enclosing double quotes is dropped. False when absent.
    bool lookup(View key, String& value) const {
        const auto entry = firstEntry_.find(folded(trim(key)));
        if (entry == firstEntry_.end()) return false;
        const String& line = entries_[entry->second];
        View found = trim(View(line).substr(line.find(Char('=')) + 1));
        if (found.size() >= 2 && found.front() == Char('"') && found.back() == Char('"'))
            found = found.substr(1, found.size() - 2);
        value.assign(found.begin(), found.end());
        return true;
    }

    // A lookup into a buffer of `maxChars` + 1 characters, with `fallback`
    // for a missing key.
    String text(View key, View fallback, size_t maxChars) const {
        String value;
        if (!lookup(key, value)) value.assign(fallback.begin(), fallback.end());
        if (value.size() > maxChars) value.resize(maxChars);
        return value;
    }

    // An integer lookup: leading blanks, a sign and the digits up to the
    // first other character; 0 when missing or not a number.
    int integer(View key) const {
        String value;
        if (!lookup(key, value)) return 0;
        size_t i = 0;
        bool negative = false;
        if (i < value.size() && (value[i] == Char('-') || value[i] == Char('+'))) negative = value[i++] == Char('-');
        std::int64_t number = 0;
        for (; i < value.size() && value[i] >= Char('0') && value[i] <= Char('9'); ++i)
            number = std::min<std::int64_t>(number * 10 + (value[i] - Char('0')), INT32_MAX);
        return static_cast<int>(negative ? -number : number);
    }

private:
    static View trim(View text) { return trimmed(text, isBlankOrTab<Char>); }
    // Keys compare without regard to (ASCII) case.
    static String folded(View key) {
        String result(key);
        for (Char& c : result)
            if (c >= Char('A') && c <= Char('Z')) c = Char(c - Char('A') + Char('a'));
        return result;
    }

    std::vector<String> entries_;
    std::unordered_map<String, size_t> firstEntry_;
};

// The four fields of a record, split at '#': a run of several '#' counts as
// one separator, missing fields are empty, and text past the fourth field is
// not shown.
template <typename Char>
std::array<std::basic_string<Char>, 4> splitHistoryRecord(std::basic_string_view<Char> record) {
    std::array<std::basic_string<Char>, 4> fields;
    size_t field = 0, i = 0;
    while (field < fields.size() && i < record.size()) {
        while (i < record.size() && record[i] == Char('#')) ++i;
        const size_t start = i;
        while (i < record.size() && record[i] != Char('#')) ++i;
        if (i > start) fields[field++].assign(record.substr(start, i - start));
    }
    return fields;
}

// The rows of the history list: the record number and its four fields, for
// n = 1 .. CNT; a missing record reads "NULL".
template <typename Char>
std::vector<std::array<std::basic_string<Char>, 5>> historyRows(const ProfileSection<Char>& section) {
    using String = std::basic_string<Char>;
    static constexpr Char kCount[] = {'C', 'N', 'T', 0};
    static constexpr Char kNull[] = {'N', 'U', 'L', 'L', 0};
    std::vector<std::array<String, 5>> rows;
    const int count = std::min(section.integer(kCount), kHistoryMaxRows);
    if (count <= 0) return rows;
    rows.reserve(static_cast<size_t>(count));
    for (int n = 1; n <= count; ++n) {
        String key;
        for (char c : std::to_string(n)) key += Char(c);
        const String record = section.text(key, kNull, kHistoryRecordMaxChars);
        const auto fields = splitHistoryRecord<Char>(record);
        rows.push_back({key, fields[0], fields[1], fields[2], fields[3]});
    }
    return rows;
}

}  // namespace tiqora
