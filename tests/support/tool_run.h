#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/game.h"
#include "support/level_fixture.h"
#include "support/run_program.h"

// Runs the built jewels-tool in a folder with the given arguments.
ProgramRun runTool(const TempDir& dir, const std::vector<std::string>& arguments);

// The folder of a bundled level, e.g. "small-8x8", as an argument for --level.
std::string bundledLevelFolder(const std::string& name);

// The lines of a text, each without its line feed.
std::vector<std::string> linesOf(const std::string& text);

// The words of a text, separated by blanks.
std::vector<std::string> wordsOf(const std::string& text);

// How often a part stands in a text, overlapping places counted.
std::size_t countOf(const std::string& text, const std::string& part);

// One line of play's output: "MOVE COLUMN ROW LETTER SCORE".
struct PlayedMove {
    std::uint32_t number;
    std::string moveLine;  // "COLUMN ROW LETTER", as the move file holds it
    std::uint32_t score;
};

// What play printed: its move lines, then "total POINTS moves N". A line of
// another form fails the calling test.
struct PlayOutput {
    std::vector<PlayedMove> moves;
    std::uint32_t totalPoints = 0;
    std::uint32_t totalMoves = 0;
};
PlayOutput parsePlayOutput(const std::string& output);

// The score in verify's "ok N moves, score S" line; fails the calling test on
// any other output.
struct VerifyVerdict {
    std::uint32_t moves = 0;
    std::uint32_t score = 0;
};
VerifyVerdict parseVerifyVerdict(const std::string& output);

struct PlayedFile {
    PlayOutput output;
    std::vector<std::string> lines;  // of the move file play wrote
};

// Lets jewels-tool play a level (a folder, e.g. from bundledLevelFolder) and
// write its moves to moves.txt in dir.
PlayedFile playInto(const TempDir& dir, const std::string& levelFolder, const std::string& ai, std::uint32_t moves);

// Runs jewels-tool verify on a move file of dir against a level folder.
ProgramRun verifyIn(const TempDir& dir, const std::string& levelFolder, const std::string& moveFile,
                    const std::vector<std::string>& extraArguments = {});

// The loaded level's game after its first fill and the first count of the
// given move lines, played with the library's own swap and settle; a line
// that is not a legal move fails the calling test.
Game replayWithLibrary(const std::vector<std::string>& moveLines, std::size_t count);
