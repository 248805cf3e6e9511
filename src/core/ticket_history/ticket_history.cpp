#include "core/ticket_history/ticket_history.h"

#include "core/text/json_reader.h"

namespace tiqora {

namespace {

constexpr std::string_view kTextEnd = ".txt";
// Records are read strictly, 32 levels deep at most as they always were: one
// that is not exactly JSON is an older record, read with the old splitter
// below.
constexpr JsonRules kRecordReading{.lenient = false, .maxDepth = 32};
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

std::optional<std::vector<std::pair<std::string, std::string>>> jsonObjectMembers(std::string_view text) {
    const auto record = readJson(text, kRecordReading);
    if (!record || record->kind != JsonKind::Object) return std::nullopt;
    std::vector<std::pair<std::string, std::string>> members;
    members.reserve(record->members.size());
    for (const auto& [name, value] : record->members) {
        const bool hasText = value.kind == JsonKind::String || value.kind == JsonKind::Number;
        members.emplace_back(name, hasText ? value.text : std::string());
    }
    return members;
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
