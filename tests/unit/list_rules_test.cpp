#include "core/ui/list_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "core/ui/control_rules.h"

namespace tiqora::ui {
namespace {

TEST(ColumnSpec, ParsesTheDialogsSpecificationsAndOddEntries) {
    struct Case {
        const char* spec;
        std::vector<std::pair<std::string, int>> columns;
    } cases[] = {
        {"Sr.No.,60;Date ,100;Call Id,100;Issue Description,275;Mobile No.,100",
         {{"Sr.No.", 60}, {"Date ", 100}, {"Call Id", 100}, {"Issue Description", 275}, {"Mobile No.", 100}}},
        {"SrNo.,0;TicketID ,70;IssueTitle,110;Description,100;Status,70;Priority,80",
         {{"SrNo.", 0}, {"TicketID ", 70}, {"IssueTitle", 110}, {"Description", 100}, {"Status", 70}, {"Priority", 80}}},
        {"Title,", {{"Title", 0}}},
        {"A,10;B", {{"A", 10}}},
        {"A,10;", {{"A", 10}}},
        {"A, 12px;B,-3;C,x", {{"A", 12}, {"B", -3}, {"C", 0}}},
        {"", {}},
        {"no comma", {}},
    };
    for (const auto& c : cases) {
        const auto columns = parseColumnSpec(c.spec);
        ASSERT_EQ(columns.size(), c.columns.size()) << c.spec;
        for (size_t i = 0; i < columns.size(); ++i) {
            EXPECT_EQ(columns[i].title, c.columns[i].first) << c.spec;
            EXPECT_EQ(columns[i].width, c.columns[i].second) << c.spec;
        }
    }
}

TEST(SortDirection, SameHeadingTogglesAnotherStartsAscending) {
    EXPECT_TRUE(sortAscendingAfterClick(2, -1, true));   // first sort
    EXPECT_FALSE(sortAscendingAfterClick(2, 2, true));   // second click
    EXPECT_TRUE(sortAscendingAfterClick(2, 2, false));   // third click
    EXPECT_TRUE(sortAscendingAfterClick(3, 2, true));    // another heading
    EXPECT_TRUE(sortAscendingAfterClick(3, 2, false));
}

int plainCompare(std::string_view a, std::string_view b) { return a.compare(b); }

TEST(RowComparison, TheFirstTextChoosesNumbersDatesOrText) {
    struct Case {
        const char* a;
        const char* b;
        int ascending;  // expected result of an ascending comparison
    } cases[] = {
        {"9", "10", -1},
        {"10", "9", 1},
        {"0012", "12", 0},
        {"0012", "ab", 1},  // "ab" counts as 0
        {"", "5", -1},      // an empty text counts as digits, 0
        {"4294967297", "1", 0},  // low 32 bits: 4294967297 is 1
        {"31/12/2023", "12/01/2024", -1},
        {"12/01/2024", "31/12/2023", 1},
        {"01/02/2024", "01/02/2024", 0},
        {"02/03/2024", "01/03/2024", 1},
        {"01/03/2024", "01/", 1},       // a short second text reads as zeros, never past its end
        {"1/12/2023", "12/01/2024", -1},  // not a date (9 characters): text comparison
        {"apple", "banana", -1},
        {"Zeta", "alpha", -1},  // the injected comparison decides (here byte order)
    };
    const std::function<int(std::string_view, std::string_view)> compareText = plainCompare;
    for (const auto& c : cases) {
        EXPECT_EQ(compareRowTexts<char>(c.a, c.b, true, compareText), c.ascending) << c.a << " vs " << c.b;
        EXPECT_EQ(compareRowTexts<char>(c.a, c.b, false, compareText), -c.ascending) << c.a << " vs " << c.b;
    }
}

TEST(RowComparison, OnlyTheFirstTextChoosesTheRule) {
    const std::function<int(std::string_view, std::string_view)> compareText = plainCompare;
    // "b" is compared as a number because "a" is one: "x" counts as 0.
    EXPECT_EQ(compareRowTexts<char>("5", "x", true, compareText), 1);
    // A text first: byte order, although the second is a number.
    EXPECT_EQ(compareRowTexts<char>("x", "5", true, compareText), 1);
}

// Rows as the list keeps them: the row's name (to tell equal rows apart) and
// its column texts.
struct TestRow {
    std::string name;
    std::vector<std::string> texts;
};

std::string_view textOf(const TestRow& row, int column) {
    return static_cast<size_t>(column) < row.texts.size() ? std::string_view(row.texts[static_cast<size_t>(column)])
                                                          : std::string_view();
}

std::vector<std::string> namesOf(const std::vector<TestRow>& rows) {
    std::vector<std::string> names;
    for (const TestRow& row : rows) names.push_back(row.name);
    return names;
}

TEST(RowSort, SortsByAColumnsRuleAndKeepsEqualRowsInTheirOrder) {
    const std::vector<TestRow> rows = {
        {"a", {"10", "12/01/2024", "pear"}},  {"b", {"9", "31/12/2023", "apple"}}, {"c", {"100", "01/01/2024", "fig"}},
        {"d", {"9", "12/01/2024", "pear"}},   {"e", {"10", "31/12/2023", "fig"}},  {"f", {"009", "01/01/2024", "apple"}},
        {"g", {"", "12/01/2024", "pear"}},
    };
    struct Case {
        int column;
        bool ascending;
        std::vector<std::string> names;  // worked out by hand
    } cases[] = {
        {0, true, {"g", "b", "d", "f", "a", "e", "c"}},
        {0, false, {"c", "a", "e", "b", "d", "f", "g"}},
        {1, true, {"b", "e", "c", "f", "a", "d", "g"}},
        {1, false, {"a", "d", "g", "c", "f", "b", "e"}},
        {2, true, {"b", "f", "c", "e", "a", "d", "g"}},
        {2, false, {"a", "d", "g", "c", "e", "b", "f"}},
        {3, true, {"a", "b", "c", "d", "e", "f", "g"}},  // a column no row has: all equal, order kept
    };
    const std::function<int(std::string_view, std::string_view)> compareText = plainCompare;
    for (const auto& c : cases) {
        std::vector<TestRow> sorted = rows;
        sortRowsByColumn<char>(sorted, c.column, c.ascending, textOf, compareText);
        EXPECT_EQ(namesOf(sorted), c.names) << "column " << c.column << (c.ascending ? " ascending" : " descending");
    }
}

TEST(RowSort, ToleratesAComparisonThatIsNoStrictOrder) {
    // Digits first compare as numbers, text first as text: no strict order,
    // yet every row stays, once.
    std::vector<TestRow> rows;
    for (int i = 0; i < 1000; ++i) rows.push_back({std::to_string(i), {i % 3 == 0 ? "x" + std::to_string(i) : std::to_string(i % 7)}});
    const std::function<int(std::string_view, std::string_view)> compareText = plainCompare;
    sortRowsByColumn<char>(rows, 0, true, textOf, compareText);
    std::vector<std::string> names = namesOf(rows);
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected;
    for (int i = 0; i < 1000; ++i) expected.push_back(std::to_string(i));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);

    std::vector<TestRow> none, one = {{"only", {"5"}}};
    sortRowsByColumn<char>(none, 0, true, textOf, compareText);
    sortRowsByColumn<char>(one, 0, false, textOf, compareText);
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(namesOf(one), (std::vector<std::string>{"only"}));
}

TEST(TypeToFind, FindsTheFirstMatchFromTheStartAndWrapsWhenAsked) {
    const std::vector<std::string> texts = {"apple", "banana", "avocado", "cherry", "apricot"};
    struct Case {
        const char* prefix;
        size_t start;
        bool wrap;
        std::optional<size_t> row;
    } cases[] = {
        {"a", 0, false, 0},     {"a", 1, false, 2},        {"a", 3, false, 4}, {"b", 2, false, std::nullopt},
        {"b", 2, true, 1},      {"ch", 4, true, 3},        {"z", 0, true, std::nullopt},
        {"a", 99, false, 0},  // a start outside the rows starts at the top
        {"", 3, false, 3},    // an empty prefix matches the start row
    };
    for (const auto& c : cases) {
        const std::string_view prefix = c.prefix;
        const auto found = findRow(texts.size(), c.start, c.wrap,
                                   [&](size_t row) { return std::string_view(texts[row]).substr(0, prefix.size()) == prefix; });
        EXPECT_EQ(found, c.row) << c.prefix << " from " << c.start;
    }
    EXPECT_EQ(findRow(0, 0, true, [](size_t) { return true; }), std::nullopt);
}

TEST(RowShade, AlternatesAndStatusWordsColourTheRow) {
    struct Case {
        size_t row;
        const char* status;
        std::uint32_t background;
        bool byStatus;
    } cases[] = {
        {0, "Open", rgb(250, 250, 250), false},
        {1, "Open", rgb(235, 235, 235), false},
        {2, "", rgb(250, 250, 250), false},
        {3, "error", rgb(255, 0, 0), true},
        {4, "ERROR", rgb(255, 0, 0), true},
        {5, "restored", rgb(0, 255, 0), true},
        {6, "Deleted", rgb(0, 255, 0), true},
        {7, "not present", rgb(255, 0, 0), true},
        {8, "Old Present", rgb(0, 255, 0), true},
        {9, "Errors", rgb(235, 235, 235), false},
        {10, "9876543210", rgb(250, 250, 250), false},
    };
    for (const auto& c : cases) {
        const RowShade shade = rowShade<char>(c.row, c.status);
        EXPECT_EQ(shade.background, c.background) << c.row << " " << c.status;
        EXPECT_EQ(shade.byStatus, c.byStatus) << c.row << " " << c.status;
    }
    EXPECT_EQ(rowShade<char16_t>(1, u"Restored").background, rgb(0, 255, 0));
}

TEST(HoverButton, PressedWinsOverHover) {
    EXPECT_EQ(hoverFrameX(false, false, 28), 0);
    EXPECT_EQ(hoverFrameX(true, false, 28), 28);
    EXPECT_EQ(hoverFrameX(false, true, 28), 56);
    EXPECT_EQ(hoverFrameX(true, true, 28), 28);
}

TEST(BlinkPhases, EachTickFlipsWhatBlinksAndNotifiesInPhaseOne) {
    BlinkPhases idle;
    const auto none = idle.tick();
    EXPECT_FALSE(none.repaint);
    EXPECT_FALSE(none.notify);

    BlinkPhases both;
    both.textBlinking = both.backgroundBlinking = true;
    auto tick = both.tick();
    EXPECT_TRUE(tick.repaint);
    EXPECT_TRUE(tick.notify);
    EXPECT_EQ(both.textPhase, 1);
    EXPECT_EQ(both.backgroundPhase, 1);
    tick = both.tick();
    EXPECT_TRUE(tick.repaint);
    EXPECT_FALSE(tick.notify);
    EXPECT_EQ(both.textPhase, 0);
    EXPECT_EQ(both.backgroundPhase, 0);

    BlinkPhases text;
    text.textBlinking = true;
    EXPECT_TRUE(text.tick().notify);
    EXPECT_EQ(text.backgroundPhase, 0);
}

}  // namespace
}  // namespace tiqora::ui
