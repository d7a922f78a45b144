// The level reports and the drawings of a game, compared with their printed text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "level/drawing.h"
#include "level/reports.h"
#include "support/level_fixture.h"

namespace {

const std::vector<std::string> kExampleLayout = {"00000", "00000", "00000", "00010", "11011", "11111"};
const std::vector<std::string> kExampleSupply = {"0123", "45", "6789", "0", "11"};
const std::vector<std::string> kRockOnly(5, "11111");
const std::vector<std::string> kNoSupplies(5, "");

template <typename Print>
std::string printed(Print print) {
    testing::internal::CaptureStdout();
    print();
    return testing::internal::GetCapturedStdout();
}

struct LevelText {
    const char* name;
    std::vector<std::string> layout;
    std::vector<std::string> supply;
    std::string expected;
};

TEST(LevelReport, BoardReportShowsSizesAndTheEffectiveLayout) {
    const LevelText cases[] = {
        {"example", kExampleLayout, kExampleSupply,
         "Board\n    Dimensions: 5x6\n    Board size: 30\n    # of jewel spaces: 20 (66.67%)\n"
         "    # of rocks: 10 (33.33%)\n    Avg column size: 4.00\n    Layout:\n"
         "      00000\n      00000\n      00000\n      00010\n      11011\n      11111\n"},
        {"no rock", std::vector<std::string>(5, "00000"), std::vector<std::string>(5, "1"),
         "Board\n    Dimensions: 5x5\n    Board size: 25\n    # of jewel spaces: 25 (100.00%)\n"
         "    # of rocks: 0 (0.00%)\n    Avg column size: 5.00\n    Layout:\n"
         "      00000\n      00000\n      00000\n      00000\n      00000\n"},
        // Heights 2, 5, 3, 4, 0: the 1 in row 0 of column 0 stands above a 0, so it is a jewel space.
        {"a 1 above a 0, and a column of rock", {"10001", "00001", "10001", "10101", "10111"}, {"1", "1", "1", "1", ""},
         "Board\n    Dimensions: 5x5\n    Board size: 25\n    # of jewel spaces: 14 (56.00%)\n"
         "    # of rocks: 11 (44.00%)\n    Avg column size: 2.80\n    Layout:\n"
         "      00001\n      00001\n      10001\n      10101\n      10111\n"},
        {"rock only", kRockOnly, kNoSupplies,
         "Board\n    Dimensions: 5x5\n    Board size: 25\n    # of jewel spaces: 0 (0.00%)\n"
         "    # of rocks: 25 (100.00%)\n    Avg column size: 0.00\n    Layout:\n"
         "      11111\n      11111\n      11111\n      11111\n      11111\n"},
    };
    for (const LevelText& c : cases) {
        SCOPED_TRACE(c.name);
        loadLevel(c.layout, c.supply);
        EXPECT_EQ(printed(printBoardReport), c.expected);
    }
}

std::string supplyReport(const char* columns, const char* jewels, const char* average,
                         const std::vector<std::string>& percentages) {
    std::string text = std::string("Jewel supply\n    Columns: ") + columns + "\n    Jewels: " + jewels +
                       "\n    Avg jewels per column in supply: " + average + "\n    Jewel frequencies:\n";
    for (std::size_t kind = 0; kind < percentages.size(); ++kind)
        text += "        Jewel " + std::to_string(kind) + ": " + percentages[kind] + "%\n";
    return text;
}

TEST(LevelReport, SupplyReportShowsCountsAndShares) {
    const std::vector<std::string> tenEach(10, "10.0");
    const LevelText cases[] = {
        // Kind 0: 2/13, kind 1: 3/13, every other kind 1/13 of 13 jewels.
        {"example", kExampleLayout, kExampleSupply,
         supplyReport("5", "13", "2.60", {"15.4", "23.1", "7.7", "7.7", "7.7", "7.7", "7.7", "7.7", "7.7", "7.7"})},
        {"every kind exactly one tenth", std::vector<std::string>(5, "01111"), {"0123456789", "", "", "", ""},
         supplyReport("5", "10", "2.00", tenEach)},
        {"every supply empty", kRockOnly, kNoSupplies, supplyReport("5", "0", "0.00", std::vector<std::string>(10, "0.0"))},
    };
    for (const LevelText& c : cases) {
        SCOPED_TRACE(c.name);
        loadLevel(c.layout, c.supply);
        EXPECT_EQ(printed(printSupplyReport), c.expected);
    }
}

struct BoardDrawing {
    const char* name;
    std::vector<std::string> picture;
    std::string expected;
};

TEST(Drawing, BoardShowsJewelsEmptyCellsAndRock) {
    const BoardDrawing cases[] = {
        {"example, still empty", {".....", ".....", ".....", "...#.", "##.##", "#####"},
         "    | 0| 1| 2| 3| 4|\n----|--|--|--|--|--|\n"
         "   0|  |  |  |  |  |\n   1|  |  |  |  |  |\n   2|  |  |  |  |  |\n"
         "   3|  |  |  |##|  |\n   4|##|##|  |##|##|\n   5|##|##|##|##|##|\n\n"},
        {"jewels, with a rock row below the tallest column", {"01234", "5.789", "0#2.4", "##6#9", "#####"},
         "    | 0| 1| 2| 3| 4|\n----|--|--|--|--|--|\n"
         "   0| 0| 1| 2| 3| 4|\n   1| 5|  | 7| 8| 9|\n   2| 0|##| 2|  | 4|\n"
         "   3|##|##| 6|##| 9|\n   4|##|##|##|##|##|\n\n"},
        {"rock only", std::vector<std::string>(5, "#####"),
         "    | 0| 1| 2| 3| 4|\n----|--|--|--|--|--|\n"
         "   0|##|##|##|##|##|\n   1|##|##|##|##|##|\n   2|##|##|##|##|##|\n"
         "   3|##|##|##|##|##|\n   4|##|##|##|##|##|\n\n"},
    };
    for (const BoardDrawing& c : cases) {
        SCOPED_TRACE(c.name);
        const Game game = loadPicture(c.picture);
        EXPECT_EQ(printed([&] { drawBoard(game); }), c.expected);
    }
}

TEST(Drawing, BoardNumbersFromTenFillTheirTwoPlaces) {
    // 12 columns; rows 0 to 9 hold jewel spaces, row 10 is rock everywhere.
    std::vector<std::string> layout(10, std::string(12, '0'));
    layout.push_back(std::string(12, '1'));
    loadLevel(layout, std::vector<std::string>(12, "1"));
    const std::string text = printed([] { drawBoard(Game{}); });

    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    ASSERT_EQ(lines.size(), 14u);  // header, separator, 11 rows, the empty line
    EXPECT_EQ(lines[0], "    | 0| 1| 2| 3| 4| 5| 6| 7| 8| 9|10|11|");
    EXPECT_EQ(lines[1], "----|--|--|--|--|--|--|--|--|--|--|--|--|");
    EXPECT_EQ(lines[11], "   9|  |  |  |  |  |  |  |  |  |  |  |  |");
    EXPECT_EQ(lines[12], "  10|##|##|##|##|##|##|##|##|##|##|##|##|");
    EXPECT_EQ(lines[13], "");
}

struct SupplyDrawing {
    const char* name;
    std::vector<std::string> layout;
    std::vector<std::string> supply;
    std::vector<std::uint8_t> cursors;
    std::string preview;
    std::string next;
};

TEST(Drawing, SupplyPreviewAndNextJewelsStartAtTheCursor) {
    const SupplyDrawing cases[] = {
        {"example, nothing taken yet", kExampleLayout, kExampleSupply, {0, 0, 0, 0, 0},
         "    | 3|  | 9|  |  |\n    | 2|  | 8|  |  |\n    | 1| 5| 7|  | 1|\n    | 0| 4| 6| 0| 1|\n",
         "    | 0| 4| 6| 0| 1|\n"},
        // Column 0 at position 3 of "0123" shows 3, 0, 1, 2 from the bottom up;
        // column 2 at position 1 of "6789" shows 7, 8, 9, 6.
        {"example, cursors moved on", kExampleLayout, kExampleSupply, {3, 1, 1, 0, 1},
         "    | 2|  | 6|  |  |\n    | 1|  | 9|  |  |\n    | 0| 4| 8|  | 1|\n    | 3| 5| 7| 0| 1|\n",
         "    | 3| 5| 7| 0| 1|\n"},
        {"every supply empty", kRockOnly, kNoSupplies, {0, 0, 0, 0, 0}, "", "    |  |  |  |  |  |\n"},
    };
    for (const SupplyDrawing& c : cases) {
        SCOPED_TRACE(c.name);
        loadLevel(c.layout, c.supply);
        SupplyCursors cursors{};
        std::copy(c.cursors.begin(), c.cursors.end(), cursors.begin());
        EXPECT_EQ(printed([&] { drawSupplyPreview(cursors); }), c.preview);
        EXPECT_EQ(printed([&] { drawNextJewels(cursors); }), c.next);
    }
}

}  // namespace
