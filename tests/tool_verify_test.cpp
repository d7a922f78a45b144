// jewels-tool verify, and show where it replays the same way: move files that
// play wrote, respelled or spoiled.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "driver/move_file.h"
#include "engine/candidates.h"
#include "level/level.h"
#include "support/level_fixture.h"
#include "support/tool_run.h"

namespace {

const std::string kMedium = bundledLevelFolder("medium-20x15");

// "c r O" as "c+1 r W", "c r Z" as "c r+1 N": the same two cells exchanged.
std::string fromTheOtherCell(const std::string& line) {
    const Move move = parseMoveLine(line).value();
    if (move.direction == East) return std::to_string(move.column + 1) + " " + std::to_string(move.row) + " W";
    return std::to_string(move.column) + " " + std::to_string(move.row + 1) + " N";
}

struct SpellingCase {
    const char* name;
    std::function<std::string(const std::vector<std::string>&)> write;
};

TEST(ToolVerify, AcceptsCrlfLineEndsANoFinalLineFeedAndMovesNamedFromTheOtherCell) {
    const SpellingCase cases[] = {
        {"CRLF line ends",
         [](const std::vector<std::string>& lines) {
             std::string text;
             for (const std::string& line : lines) text += line + "\r\n";
             return text;
         }},
        {"no line feed after the last line", [](const std::vector<std::string>& lines) { return joinLines(lines); }},
        {"N and W from the other cell of each pair",
         [](const std::vector<std::string>& lines) {
             std::string text;
             for (const std::string& line : lines) text += fromTheOtherCell(line) + "\n";
             return text;
         }},
    };
    TempDir dir;
    const PlayedFile played = playInto(dir, kMedium, "MagicAi", 15);
    const ProgramRun original = verifyIn(dir, kMedium, "moves.txt", {"--every", "4"});
    ASSERT_EQ(original.exitStatus, 0);
    for (const SpellingCase& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("respelled.txt", c.write(played.lines));
        const ProgramRun run = verifyIn(dir, kMedium, "respelled.txt", {"--every", "4"});
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.output, original.output);
    }
}

// An exchange of two neighbouring jewels that makes no run on the field reached
// after the first count lines.
std::string swapWithoutRun(const std::vector<std::string>& lines, std::size_t count) {
    const Game game = replayWithLibrary(lines, count);
    MoveList legal;
    enumerateAll(game, &legal);
    for (std::uint32_t row = 0; row < Level.stride; ++row) {
        for (std::uint32_t column = 0; column + 1 < Level.columnCount; ++column) {
            const Move move{column, row, East};
            const bool jewels = cellAt(game, column, row) < kJewelKinds && cellAt(game, column + 1, row) < kJewelKinds;
            if (jewels && std::find(legal.begin(), legal.end(), move) == legal.end())
                return std::to_string(column) + " " + std::to_string(row) + " O";
        }
    }
    ADD_FAILURE() << "every exchange makes a run";
    return "";
}

ProgramRun showAfter(const TempDir& dir, const std::string& moveFile, std::size_t after) {
    return runTool(dir, {"show", "--level", kMedium, "--moves", moveFile, "--after", std::to_string(after)});
}

struct BadLineCase {
    const char* name;
    std::size_t lineNumber;  // counted from 1; the bad line replaces the played one
    std::string text;
    const char* verdict;
};

TEST(ToolVerify, ReportsTheFirstBadLineByItsNumberAndStopsThere) {
    TempDir dir;
    const PlayedFile played = playInto(dir, kMedium, "MagicAi", 12);
    ASSERT_EQ(played.lines.size(), 12u);
    loadBundledLevel("medium-20x15");
    const std::string lastColumn = std::to_string(Level.columnCount - 1);

    // Which exchanges are moves is the engine's listing, held to the plain rules
    // by the engine's check (rock included); verify looks each line up in it.
    const BadLineCase cases[] = {
        {"missing letter", 5, "3 4", "malformed"},
        {"empty line", 9, "", "malformed"},
        {"off the right edge", 4, lastColumn + " 3 O", "illegal move"},
        {"off the top", 6, "4 0 N", "illegal move"},
        {"far off the field", 3, "99999999999 2 Z", "illegal move"},
        {"an exchange that makes no run", 10, swapWithoutRun(played.lines, 9), "illegal move"},
        {"the last line", 12, swapWithoutRun(played.lines, 11), "illegal move"},
        // Only a line feed takes a carriage return along.
        {"a carriage return at the very end", 12, played.lines[11] + "\r", "malformed"},
    };
    for (const BadLineCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> lines = played.lines;
        lines[c.lineNumber - 1] = c.text;
        // A second bad line further on must not be the one reported.
        if (c.lineNumber < lines.size()) lines.back() = "not a move";
        // The last line is written without a line feed after it.
        dir.write("spoiled.txt", joinLines(lines) + (c.lineNumber < lines.size() ? "\n" : ""));
        const ProgramRun run = verifyIn(dir, kMedium, "spoiled.txt");
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_EQ(run.output, "line " + std::to_string(c.lineNumber) + ": " + c.verdict + ": " + c.text + "\n");
        EXPECT_EQ(run.errors, "");
        // Show stops at the bad line only when it replays that line.
        const ProgramRun throughIt = showAfter(dir, "spoiled.txt", c.lineNumber);
        EXPECT_EQ(throughIt.exitStatus, 1);
        EXPECT_EQ(throughIt.output, run.output);
        EXPECT_EQ(showAfter(dir, "spoiled.txt", c.lineNumber - 1).exitStatus, 0);
        // Asked for more moves than the file holds, it still meets the bad line first.
        EXPECT_EQ(showAfter(dir, "spoiled.txt", lines.size() + 1).output, run.output);
    }
    // Asking show for more moves than the file holds is an error.
    const ProgramRun pastTheEnd = showAfter(dir, "moves.txt", 13);
    EXPECT_EQ(pastTheEnd.exitStatus, 2);
    EXPECT_NE(pastTheEnd.errors.find("only 12 moves"), std::string::npos) << pastTheEnd.errors;
}

TEST(ToolVerify, AcceptsAMoveWhoseCascadeIsCutOffButNoLineAfterIt) {
    TempDir dir;
    writeLevelWhoseFirstMoveNeverSettles(dir);
    const ProgramRun play = runTool(dir, {"play", "--level", ".", "--ai", "0", "--moves", "5", "--out", "moves.txt"});
    const PlayOutput played = parsePlayOutput(play.output);
    ASSERT_EQ(played.moves.size(), 1u);
    EXPECT_EQ(played.moves[0].moveLine, "0 1 Z");
    EXPECT_EQ(played.totalMoves, 1u);

    const ProgramRun accepted = runTool(dir, {"verify", "--level", ".", "moves.txt"});
    EXPECT_EQ(accepted.exitStatus, 0);
    EXPECT_EQ(parseVerifyVerdict(accepted.output).score, played.moves[0].score);

    dir.write("more.txt", "0 1 Z\n0 0 Z\n");
    const ProgramRun refused = runTool(dir, {"verify", "--level", ".", "more.txt"});
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_EQ(refused.output, "line 2: illegal move: 0 0 Z\n");
}

}  // namespace
