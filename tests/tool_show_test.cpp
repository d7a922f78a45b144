// jewels-tool show: the settled start drawn as jewels draws it, and with --svg
// the field after a replayed move file as a picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "level/level.h"
#include "support/level_fixture.h"
#include "support/run_program.h"
#include "support/tool_run.h"

namespace {

const std::string kSmall = bundledLevelFolder("small-8x8");

// Checks that the picture draws each kind as often as the field holds it, in
// one colour of its own; returns the number of kinds drawn.
std::size_t expectOneColourPerKind(const std::string& picture, const Game& game) {
    static const std::regex jewelShape("class=\"jewel kind-([0-9])\" fill=\"([^\"]*)\"");
    std::array<std::size_t, kJewelKinds> onField{}, drawn{};
    std::array<std::set<std::string>, kJewelKinds> fills;
    for (std::uint32_t column = 0; column < Level.columnCount; ++column)
        for (std::uint32_t row = 0; row < Level.columnHeight[column]; ++row) ++onField.at(cellAt(game, column, row));
    for (auto match = std::sregex_iterator(picture.begin(), picture.end(), jewelShape); match != std::sregex_iterator();
         ++match) {
        const std::size_t kind = std::stoul((*match)[1].str());
        ++drawn.at(kind);
        fills.at(kind).insert((*match)[2].str());
    }
    EXPECT_EQ(drawn, onField);
    std::set<std::string> allFills;
    std::size_t kindsDrawn = 0;
    for (std::uint32_t kind = 0; kind < kJewelKinds; ++kind) {
        EXPECT_EQ(fills[kind].size(), onField[kind] == 0 ? 0u : 1u) << "kind " << kind;
        allFills.insert(fills[kind].begin(), fills[kind].end());
        kindsDrawn += onField[kind] > 0;
    }
    EXPECT_EQ(allFills.size(), kindsDrawn) << "two kinds share a colour";
    return kindsDrawn;
}

// Checks that every kind keeps one outline wherever it lies, and that no two
// kinds share one: a polygon's corners taken from its first corner.
void expectOneShapePerKind(const std::string& picture) {
    static const std::regex polygon("class=\"jewel kind-([0-9])\"[^>]* points=\"([^\"]*)\"");
    static const std::regex corner("(-?[0-9.]+),(-?[0-9.]+)");
    std::array<std::set<std::string>, kJewelKinds> outlines;
    for (auto match = std::sregex_iterator(picture.begin(), picture.end(), polygon); match != std::sregex_iterator();
         ++match) {
        const std::string points = (*match)[2].str();
        std::string outline;
        double firstX = 0, firstY = 0;
        for (auto at = std::sregex_iterator(points.begin(), points.end(), corner); at != std::sregex_iterator(); ++at) {
            const double x = std::stod((*at)[1].str()), y = std::stod((*at)[2].str());
            if (outline.empty()) firstX = x, firstY = y;
            outline += std::to_string(std::lround(x - firstX)) + "," + std::to_string(std::lround(y - firstY)) + " ";
        }
        outlines.at(std::stoul((*match)[1].str())).insert(outline);
    }
    std::set<std::string> allOutlines;
    std::size_t kindsDrawn = 0;
    for (const auto& kindOutlines : outlines) {
        EXPECT_LE(kindOutlines.size(), 1u);
        allOutlines.insert(kindOutlines.begin(), kindOutlines.end());
        kindsDrawn += kindOutlines.size();
    }
    EXPECT_EQ(allOutlines.size(), kindsDrawn) << "two kinds share an outline";
}

// Under "Initial board:" jewels draws the settled field and its next jewels;
// show draws the same, then the score that jewels' first fill reached.
TEST(ToolShow, DrawsTheSettledStartAsJewelsDoes) {
    TempDir dir;
    writeLevelWithoutMoves(dir);
    const std::string jewels = runProgramIn(dir.path(), JEWELS_EXECUTABLE).output;
    const std::string heading = "Initial score: 0 -> 50\nInitial board:\n\n";
    const std::size_t board = jewels.find(heading);
    const std::size_t benchmark = jewels.find("     Ai #0 just did");
    ASSERT_TRUE(board < benchmark && benchmark != std::string::npos) << jewels;
    const std::string drawn = jewels.substr(board + heading.size(), benchmark - board - heading.size());
    EXPECT_EQ(runTool(dir, {"show", "--level", "."}).output, drawn + "score 50 after 0 moves\n");
}

struct PictureCase {
    const char* name;
    std::string levelFolder;  // absolute, or relative to the test's folder
    std::uint32_t moves;
    std::size_t kindsAtLeast;
};

TEST(ToolShow, DrawsAnSvgPictureWithOneShapePerJewelAndOneColourPerKind) {
    const PictureCase cases[] = {
        {"small level at the start", kSmall, 0, 5},
        {"medium level after moves", bundledLevelFolder("medium-20x15"), 8, 5},
        {"a generated level of ten kinds", "rainbow", 0, 10},
    };
    for (const PictureCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        runTool(dir, {"generate", "rainbow", "--cols", "12", "--rows", "10", "--kinds", "10", "--seed", "7"});
        std::vector<std::string> show = {"show", "--level", c.levelFolder, "--svg", "field.svg"};
        std::vector<std::string> lines;
        if (c.moves > 0) {
            lines = playInto(dir, c.levelFolder, "MagicAi", c.moves).lines;
            show.insert(show.end(), {"--moves", "moves.txt"});
        }
        ASSERT_EQ(runTool(dir, show).exitStatus, 0);
        const ProgramRun lint = runProgramIn(dir.path(), XMLLINT_EXECUTABLE, {"--noout", "field.svg"});
        EXPECT_EQ(lint.exitStatus, 0) << lint.errors;

        const std::filesystem::path folder = dir.path() / c.levelFolder;
        readLayoutFile((folder / "speelveld.txt").string());
        readSupplyFile((folder / "kolommen.txt").string());
        const Game game = replayWithLibrary(lines, lines.size());
        const std::string picture = readFileBytes(dir.path() / "field.svg");
        EXPECT_GE(expectOneColourPerKind(picture, game), c.kindsAtLeast);
        expectOneShapePerKind(picture);
        // The field's cells all lie below the row of next jewels.
        static const std::regex cell(
            "class=\"(next-space|space|rock)\" x=\"[^\"]*\" y=\"([^\"]*)\" width=\"[^\"]*\" "
            "height=\"([^\"]*)\"");
        double nextBottom = 0, fieldTop = 1e9;
        for (auto at = std::sregex_iterator(picture.begin(), picture.end(), cell); at != std::sregex_iterator(); ++at) {
            const double y = std::stod((*at)[2].str());
            if ((*at)[1] == "next-space")
                nextBottom = std::max(nextBottom, y + std::stod((*at)[3].str()));
            else
                fieldTop = std::min(fieldTop, y);
        }
        EXPECT_GT(nextBottom, 0.0);
        EXPECT_LE(nextBottom, fieldTop);
        EXPECT_EQ(countOf(picture, "class=\"jewel "), Level.jewelSpaceCount);
        EXPECT_EQ(countOf(picture, "class=\"rock\""), Level.columnCount * Level.rowCount - Level.jewelSpaceCount);
        // Each column's next jewel, left to right, is the one its supply drops next.
        static const std::regex nextShape("class=\"next kind-([0-9])\"");
        std::string nextKinds, suppliedKinds;
        for (auto next = std::sregex_iterator(picture.begin(), picture.end(), nextShape);
             next != std::sregex_iterator(); ++next)
            nextKinds += (*next)[1].str();
        for (std::uint32_t column = 0; column < Level.columnCount; ++column)
            suppliedKinds += static_cast<char>('0' + Level.supply[column].jewels.at(game.supplyCursor[column]));
        EXPECT_EQ(nextKinds, suppliedKinds);
        const std::string caption = "score " + std::to_string(game.score) + " after " + std::to_string(lines.size());
        EXPECT_NE(picture.find(caption + " moves"), std::string::npos) << caption;
    }
}

}  // namespace
