// Whole-program checks: the real executable, run in a folder holding a level.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/level_fixture.h"
#include "support/run_program.h"
#include "support/tool_run.h"

namespace {

void copyLevel(const std::string& levelName, const TempDir& dir) {
    for (const char* file : {"speelveld.txt", "kolommen.txt"})
        std::filesystem::copy_file(sourcePath("levels/" + levelName + "/" + file), dir.path() / file);
}

TEST(WholeRun, ExampleLevelPrintsReportsAndDrawingsThenHitsTheRefillCap) {
    TempDir dir;
    copyLevel("example", dir);

    const ProgramRun run = runProgramIn(dir.path(), JEWELS_EXECUTABLE);

    // Every pass of the first fill clears column 3 (three 0s, 50 points) and
    // column 4 (four 1s, 100 points) and refills them with the same jewels, so
    // the score climbs by 150 per pass until the cap of 10000 passes.
    std::string expected = readFileBytes(sourcePath("tests/data/example_opening.txt"));
    for (unsigned pass = 1; pass <= 10000; ++pass) expected += " -> " + std::to_string(150 * pass);
    expected += "Wat jammer nou: Speelveld komt nooit tot rust\n";
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.output, expected);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "uitvoer.txt"));
}

std::string repeated(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) result += text;
    return result;
}

// What jewels printed before it reached the step that failed.
enum class FailingStep { Layout, Supply, FirstFill };

struct BadLevel {
    const char* name;
    std::optional<std::string> layout;  // nullopt: no speelveld.txt
    std::optional<std::string> supply;  // nullopt: no kolommen.txt
    FailingStep step;
    std::string message;          // the readers' own, line feeds included, or the first fill's
    bool layoutIsFolder = false;  // a folder named speelveld.txt: it opens, but reading it fails
};

const std::string kFiveByFive = repeated("00000\n", 5);
const std::string kFiveSupplies = "0\n0\n0\n0\n0";
const std::string kBadJewel = "Ow jee, alleen '0' tot '9' toegestaan\n";

// jewels prints the message after the step that failed, behind "Wat jammer nou:
// ", and ends with status 0; every subcommand of jewels-tool that loads a level
// prints it as one line on standard error and ends with status 2. The readers'
// choice of message is held to a plain reading of the files by the fuzzers' check.
TEST(LevelErrors, JewelsAndEveryToolCommandThatLoadsALevelReportTheSameMessage) {
    const BadLevel levels[] = {
        {"missing layout", std::nullopt, kFiveSupplies, FailingStep::Layout, "Kon bestand niet openen... asdfjkl; "},
        {"a folder named speelveld.txt", std::nullopt, kFiveSupplies, FailingStep::Layout, "shit", true},
        {"51 rows", repeated("00000\n", 51), kFiveSupplies, FailingStep::Layout, "Te veel regels! (>50)\n"},
        {"51 columns", std::string(51, '0') + "\n", kFiveSupplies, FailingStep::Layout, "Te veel kolommen! (>50)\n"},
        {"a row shorter than the first", "00000\n0000\n00000\n00000\n00000\n", kFiveSupplies, FailingStep::Layout,
         "Ow jee, deze regel is niet even lang als de eerste :(\n"},
        {"a letter in the field", "00000\n00x00\n00000\n00000\n00000\n", kFiveSupplies, FailingStep::Layout,
         "Ow jee, alleen '0' en '1' toegestaan\n"},
        {"four rows", repeated("00000\n", 4), kFiveSupplies, FailingStep::Layout, "Speelveld is te klein!\n"},
        // A missing supply file reads as endless empty lines.
        {"missing supply", kFiveByFive, std::nullopt, FailingStep::Supply,
         "Te veel kolommen, meer dan in speelveld.txt"},
        {"a letter in a supply", kFiveByFive, "0123\n4a5\n6789\n0\n11", FailingStep::Supply, kBadJewel},
        {"a ':', the character after '9', in a supply", kFiveByFive, "0123\n45\n6789\n0:\n11", FailingStep::Supply,
         kBadJewel},
        {"fewer supplies than columns", kFiveByFive, "0123\n45\n6789", FailingStep::Supply,
         "Aantal kolommen niet gelijk aan data in speelveld.txt"},
        {"jewel spaces without a supply", kFiveByFive, "0123\n45\n\n0\n11", FailingStep::Supply,
         "Ow jee, kolom 2 heeft vakken maar geen juwelen\n"},
        // Column 4 refills five 1s forever, so the first fill never settles.
        {"never settles", kFiveByFive, "0123\n1230\n2301\n3012\n11", FailingStep::FirstFill,
         "Speelveld komt nooit tot rust"},
    };
    const std::vector<std::vector<std::string>> loadingCommands = {
        {"verify", "--level", "."}, {"play", "--level", ".", "--ai", "0", "--moves", "5"},     {"show", "--level", "."},
        {"bench", "--level", "."},  {"solve", "--level", ".", "--moves", "5", "--width", "1"},
    };
    const std::string layoutStep = "Hello vlimSpeelveld.txt inlezen... ";
    const std::string supplyStep = layoutStep + "ok\nKolommen.txt inlezen... ";
    for (const BadLevel& level : levels) {
        SCOPED_TRACE(level.name);
        TempDir dir;
        if (level.layoutIsFolder) std::filesystem::create_directory(dir.path() / "speelveld.txt");
        if (level.layout) dir.write("speelveld.txt", *level.layout);
        if (level.supply) dir.write("kolommen.txt", *level.supply);

        const ProgramRun jewels = runProgramIn(dir.path(), JEWELS_EXECUTABLE);
        EXPECT_EQ(jewels.exitStatus, 0);
        const std::string reported = "Wat jammer nou: " + level.message + "\n";
        if (level.step == FailingStep::FirstFill) {
            EXPECT_TRUE(jewels.output.starts_with(supplyStep + "ok\n") && jewels.output.ends_with(reported))
                << jewels.output.substr(0, 200);
        } else {
            EXPECT_EQ(jewels.output, (level.step == FailingStep::Layout ? layoutStep : supplyStep) + reported);
        }

        std::string oneLine = level.message;
        while (oneLine.ends_with('\n')) oneLine.pop_back();
        for (const std::vector<std::string>& command : loadingCommands) {
            SCOPED_TRACE(command[0]);
            const ProgramRun tool = runTool(dir, command);
            EXPECT_EQ(tool.exitStatus, 2);
            EXPECT_EQ(tool.output, "");
            EXPECT_EQ(tool.errors, "jewels-tool: " + oneLine + "\n");
        }
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "uitvoer.txt"));
    }
}

// On the level without moves the benchmark takes no time and the match fails
// at its first move, the fallback too. A move file that cannot be opened ends
// the run after the whole benchmark, before any move; without one in the way
// the match gives up with status 7 and leaves the file empty.
TEST(WholeRun, AMatchWithoutMovesGivesUpWithStatus7AndAMoveFileInTheWayEndsTheRunAfterTheBenchmark) {
    TempDir played, blocked;
    writeLevelWithoutMoves(played);
    writeLevelWithoutMoves(blocked);
    played.write("uitvoer.txt", "0 0 Z\n");
    std::filesystem::create_directory(blocked.path() / "uitvoer.txt");

    const ProgramRun gaveUp = runProgramIn(played.path(), JEWELS_EXECUTABLE);
    const ProgramRun stopped = runProgramIn(blocked.path(), JEWELS_EXECUTABLE);

    const std::string output = withoutTimes(gaveUp.output);
    const std::size_t matchStart = output.find("Best ai is #0\n");
    ASSERT_NE(matchStart, std::string::npos) << output;
    const std::string beforeMatch = output.substr(0, matchStart);
    EXPECT_EQ(countOf(beforeMatch, " performed: "), 10u);
    EXPECT_TRUE(
        beforeMatch.ends_with("0.00 points per move\n100.000 moves would take 0.00ms, scoring 0.00 points\n\n"));
    EXPECT_EQ(gaveUp.exitStatus, 7);
    EXPECT_EQ(output.substr(matchStart),
              "Best ai is #0\nScore 50, ?ms left, 100000 moves left, best ai = #0\n"
              "Ai #0 failed at move 0, retrying with survive ai\nResetting to move (0) 0\n"
              "Ai #7777 failed at move 0, retrying with survive ai\n"
              "No f*cking way: can't solve these 1000 moves... not even in survival mode.. i FAILED\n");
    EXPECT_EQ(readFileBytes(played.path() / "uitvoer.txt"), "");

    EXPECT_EQ(stopped.exitStatus, 0);
    EXPECT_EQ(withoutTimes(stopped.output), beforeMatch + "Wat jammer nou: Couldn't open output file\n");
}

}  // namespace
