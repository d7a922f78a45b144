// The level reports and the drawings where the example level's whole run,
// whose output is compared in full, does not reach: a 1 standing above a 0,
// an all-rock column, empty supplies, two-digit numbers, moved cursors.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "level/drawing.h"
#include "level/reports.h"
#include "support/level_fixture.h"

namespace {

template <typename Print>
std::string printed(Print print) {
    testing::internal::CaptureStdout();
    print();
    return testing::internal::GetCapturedStdout();
}

struct ReportCase {
    const char* name;
    std::vector<std::string> layout;
    std::vector<std::string> supply;
    void (*print)();
    std::string expected;
};

TEST(LevelReport, ReportsCountTheEffectiveLayoutAndTheSupplies) {
    const ReportCase cases[] = {
        // Heights 2, 5, 3, 4, 0: the 1 in row 0 of column 0 stands above a 0, so it is a jewel space.
        {"a 1 above a 0, and a column of rock",
         {"10001", "00001", "10001", "10101", "10111"},
         {"1", "1", "1", "1", ""},
         printBoardReport,
         "Board\n    Dimensions: 5x5\n    Board size: 25\n    # of jewel spaces: 14 (56.00%)\n"
         "    # of rocks: 11 (44.00%)\n    Avg column size: 2.80\n    Layout:\n"
         "      00001\n      00001\n      10001\n      10101\n      10111\n"},
        {"every supply empty: shares of 0/0 stay 0", std::vector<std::string>(5, "11111"),
         std::vector<std::string>(5, ""), printSupplyReport,
         "Jewel supply\n    Columns: 5\n    Jewels: 0\n    Avg jewels per column in supply: 0.00\n"
         "    Jewel frequencies:\n        Jewel 0: 0.0%\n        Jewel 1: 0.0%\n        Jewel 2: 0.0%\n"
         "        Jewel 3: 0.0%\n        Jewel 4: 0.0%\n        Jewel 5: 0.0%\n        Jewel 6: 0.0%\n"
         "        Jewel 7: 0.0%\n        Jewel 8: 0.0%\n        Jewel 9: 0.0%\n"},
    };
    for (const ReportCase& c : cases) {
        SCOPED_TRACE(c.name);
        loadLevel(c.layout, c.supply);
        EXPECT_EQ(printed(c.print), c.expected);
    }
}

TEST(Drawing, NumbersFromTenFillTheirTwoPlacesAndPreviewsStartAtTheCursor) {
    // 12 columns; rows 0 to 9 hold jewel spaces, row 10 is rock everywhere.
    std::vector<std::string> layout(10, std::string(12, '0'));
    layout.push_back(std::string(12, '1'));
    std::vector<std::string> supply(12, "");
    supply[0] = "0123";
    supply[11] = "45";
    for (std::size_t column = 1; column < 11; ++column) supply[column] = "7";
    loadLevel(layout, supply);
    const std::string board = printed([] { drawBoard(Game{}); });
    EXPECT_EQ(board.substr(0, board.find("   1|")),
              "    | 0| 1| 2| 3| 4| 5| 6| 7| 8| 9|10|11|\n----|--|--|--|--|--|--|--|--|--|--|--|--|\n"
              "   0|  |  |  |  |  |  |  |  |  |  |  |  |\n");
    EXPECT_EQ(board.substr(board.find("   9|")),
              "   9|  |  |  |  |  |  |  |  |  |  |  |  |\n"
              "  10|##|##|##|##|##|##|##|##|##|##|##|##|\n\n");

    // Column 0 at position 3 of "0123" shows 3, 0, 1, 2 from the bottom up;
    // column 11 at position 1 of "45" shows 5, 4.
    SupplyCursors cursors{};
    cursors[0] = 3;
    cursors[11] = 1;
    std::string blanks, sevens;
    for (int column = 1; column < 11; ++column) blanks += "  |", sevens += " 7|";
    EXPECT_EQ(
        printed([&] { drawSupplyPreview(cursors); }),
        "    | 2|" + blanks + "  |\n    | 1|" + blanks + "  |\n    | 0|" + blanks + " 4|\n    | 3|" + sevens + " 5|\n");
    EXPECT_EQ(printed([&] { drawNextJewels(cursors); }), "    | 3|" + sevens + " 5|\n");
}

}  // namespace
