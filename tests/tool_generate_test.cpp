// jewels-tool generate: random levels that the program's readers accept.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "level/level.h"
#include "support/level_fixture.h"
#include "support/tool_run.h"

namespace {

struct GenerateCase {
    const char* name;
    const char* options;  // separated by blanks
    std::uint32_t columns, rows, kinds, shortestSupply, longestSupply;
    bool ragged;
    bool seedMatters;  // false when every choice is forced
};

struct LevelBytes {
    std::string layout;
    std::string supply;

    bool operator==(const LevelBytes&) const = default;
};

LevelBytes generateInto(const TempDir& dir, const std::string& folder, const GenerateCase& c, const std::string& seed) {
    std::vector<std::string> arguments = {"generate", folder, "--seed", seed};
    const std::vector<std::string> options = wordsOf(c.options);
    arguments.insert(arguments.end(), options.begin(), options.end());
    const ProgramRun run = runTool(dir, arguments);
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_EQ(run.errors, "");
    return {readFileBytes(dir.path() / folder / "speelveld.txt"), readFileBytes(dir.path() / folder / "kolommen.txt")};
}

void expectShape(const LevelBytes& files, const GenerateCase& c) {
    EXPECT_EQ(files.layout.back(), '\n');
    EXPECT_EQ(std::count(files.layout.begin(), files.layout.end(), '\n'), c.rows);
    EXPECT_NE(files.supply.back(), '\n');
    EXPECT_EQ(std::count(files.supply.begin(), files.supply.end(), '\n'), c.columns - 1);
    EXPECT_EQ(Level.columnCount, c.columns);
    EXPECT_EQ(Level.rowCount, c.rows);
    for (std::uint32_t column = 0; column < c.columns; ++column) {
        const SupplyColumn& supply = Level.supply[column];
        EXPECT_GE(supply.length(), c.shortestSupply) << "column " << column;
        EXPECT_LE(supply.length(), c.longestSupply) << "column " << column;
        for (std::uint8_t kind : supply.jewels) EXPECT_LT(kind, c.kinds) << "column " << column;
        EXPECT_GT(Level.columnHeight[column], 0u) << "column " << column << " is all rock";
    }
    if (c.ragged) {
        EXPECT_EQ(Level.tallestColumn, c.rows) << "no column of full height";
        EXPECT_LT(Level.jewelSpaceCount, c.columns * c.rows) << "no rock at all";
    } else {
        EXPECT_EQ(Level.jewelSpaceCount, c.columns * c.rows);
    }
}

TEST(ToolGenerate, TheSameSeedGivesTheSameFilesThatTheReadersAccept) {
    const GenerateCase cases[] = {
        {"defaults", "--cols 5 --rows 5", 5, 5, 7, 20, 60, false, true},
        {"ragged", "--cols 12 --rows 9 --kinds 4 --supply 3 8 --rocks ragged", 12, 9, 4, 3, 8, true, true},
        {"the largest", "--cols 50 --rows 50 --kinds 10 --supply 1 1000 --rocks ragged", 50, 50, 10, 1, 1000, true,
         true},
        // Few columns of many rows: a column of full height by chance would be rare.
        {"ragged, narrow and tall", "--cols 5 --rows 50 --supply 1 3 --rocks ragged", 5, 50, 7, 1, 3, true, true},
        {"one kind, supplies of one", "--cols 6 --rows 7 --kinds 1 --supply 1 1", 6, 7, 1, 1, 1, false, false},
    };
    for (const GenerateCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const LevelBytes first = generateInto(dir, "first", c, "2024");
        const LevelBytes again = generateInto(dir, "nested/again", c, "2024");
        const LevelBytes otherSeed = generateInto(dir, "other", c, "2025");

        EXPECT_EQ(first, again);
        if (c.seedMatters) {
            EXPECT_NE(first, otherSeed);
        }
        ASSERT_NO_THROW({
            readLayoutFile(dir.file("first/speelveld.txt"));
            readSupplyFile(dir.file("first/kolommen.txt"));
        });
        expectShape(first, c);
    }
}

}  // namespace
