#include "core/ui/list_rules.h"

#include <gtest/gtest.h>

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
