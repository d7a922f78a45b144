// scripts/soak is only worth its hour if it notices a tool that misbehaves: it
// runs here on one small level against a stand-in (tests/support/faulty_tool)
// that spoils one thing of what the real jewels-tool does for strategy 1.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/level_fixture.h"
#include "support/run_program.h"

namespace {

struct SoakCase {
    const char* name;
    const char* fault;        // SOAK_FAULT for the stand-in
    int exitStatus;           // of the soak script
    const char* summary;      // its "P passed, F failed" line
    const char* neverSettle;  // its "K levels never settle" line
    const char* verdict;      // a part of its report that only the right check gives
};

const SoakCase soakCases[] = {
    {"a sound tool", "none", 0, "1 passed, 0 failed", "0 levels never settle", "0:3 1:3\n"},
    {"a level that never settles for any strategy", "level never settles", 0, "1 passed, 0 failed",
     "1 levels never settle", ": never settles\n"},
    // Verify's scores are the game's, so a total off shows as a start score off.
    {"total points off", "total points", 1, "0 passed, 1 failed", "0 levels never settle",
     "the level's strategies disagree: ["},
    {"one move's score off", "one score", 1, "0 passed, 1 failed", "0 levels never settle",
     "where play's scores give 'after 2 moves: score "},
    {"every score off alike", "every score", 1, "0 passed, 1 failed", "0 levels never settle",
     "the level's strategies disagree: ["},
    {"move file one line short", "move file short", 1, "0 passed, 1 failed", "0 levels never settle",
     "move file differs from play's moves from line 3 (2 lines written, 3 played)"},
    {"one move more than asked", "one move too many", 1, "0 passed, 1 failed", "0 levels never settle",
     "play played 4 moves, asked for 3"},
    {"a crash", "crash", 1, "0 passed, 1 failed", "0 levels never settle", "play killed by signal 11"},
    {"a hang", "hang", 1, "0 passed, 1 failed", "0 levels never settle", "play timed out after 2 s"},
    {"one strategy alone says the level never settles", "never settles", 1, "0 passed, 1 failed",
     "0 levels never settle", "play says the level never settles; other strategies played it"},
    {"verify counts a move more", "verify count", 1, "0 passed, 1 failed", "0 levels never settle",
     "verify: 'ok 4 moves, score "},
};

TEST(Soak, ReportsEveryFaultOfTheToolAndPassesASoundOne) {
    ::setenv("JEWELS_TOOL", sourcePath("tests/support/faulty_tool").c_str(), 1);
    ::setenv("REAL_JEWELS_TOOL", JEWELS_TOOL_EXECUTABLE, 1);
    for (const SoakCase& c : soakCases) {
        SCOPED_TRACE(c.name);
        ::setenv("SOAK_FAULT", c.fault, 1);
        TempDir dir;

        // Level 3 of seed 1 is a 5x23 field with 4 kinds; three moves take milliseconds.
        const ProgramRun run = runProgramIn(
            dir.path(), sourcePath("scripts/soak").string(),
            {"--seed", "1", "--first", "3", "--levels", "1", "--moves", "3", "--ai", "0,1", "--timeout", "2"});

        EXPECT_EQ(run.exitStatus, c.exitStatus) << run.output << run.errors;
        const std::string lastLines = std::string("\n") + c.neverSettle + "\n" + c.summary + "\n";
        EXPECT_NE(run.output.find(lastLines), std::string::npos) << run.output;
        EXPECT_NE(run.output.find(c.verdict), std::string::npos) << run.output;
        if (c.exitStatus != 0) {
            EXPECT_NE(run.output.find("repeat: scripts/soak --seed 1 --first 3 --levels 1 --moves 3 --ai 1 "),
                      std::string::npos)
                << run.output;
        }
    }
    ::unsetenv("SOAK_FAULT");
    ::unsetenv("JEWELS_TOOL");
    ::unsetenv("REAL_JEWELS_TOOL");
}

}  // namespace
