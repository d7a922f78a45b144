#include "support/tool_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>

#include "driver/move_file.h"
#include "engine/candidates.h"
#include "engine/gravity.h"
#include "engine/moves.h"

ProgramRun runTool(const TempDir& dir, const std::vector<std::string>& arguments) {
    return runProgramIn(dir.path(), JEWELS_TOOL_EXECUTABLE, arguments);
}

std::string bundledLevelFolder(const std::string& name) { return sourcePath("levels/" + name).string(); }

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> wordsOf(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

std::size_t countOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

PlayOutput parsePlayOutput(const std::string& output) {
    static const std::regex moveLine("([0-9]+) ([0-9]+ [0-9]+ [NOZW]) ([0-9]+)");
    static const std::regex totalLine("total ([0-9]+) moves ([0-9]+)");
    PlayOutput parsed;
    const std::vector<std::string> lines = linesOf(output);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::smatch fields;
        if (i + 1 == lines.size() && std::regex_match(lines[i], fields, totalLine)) {
            parsed.totalPoints = static_cast<std::uint32_t>(std::stoul(fields[1]));
            parsed.totalMoves = static_cast<std::uint32_t>(std::stoul(fields[2]));
        } else if (std::regex_match(lines[i], fields, moveLine)) {
            parsed.moves.push_back({static_cast<std::uint32_t>(std::stoul(fields[1])), fields[2],
                                    static_cast<std::uint32_t>(std::stoul(fields[3]))});
        } else {
            ADD_FAILURE() << "unexpected line of play: \"" << lines[i] << "\"";
        }
    }
    EXPECT_TRUE(!lines.empty() && lines.back().rfind("total ", 0) == 0) << "play printed no total line";
    return parsed;
}

VerifyVerdict parseVerifyVerdict(const std::string& output) {
    static const std::regex verdict("ok ([0-9]+) moves, score ([0-9]+)\n");
    std::smatch fields;
    if (!std::regex_match(output, fields, verdict)) {
        ADD_FAILURE() << "verify did not accept the file: " << output;
        return {};
    }
    return {static_cast<std::uint32_t>(std::stoul(fields[1])), static_cast<std::uint32_t>(std::stoul(fields[2]))};
}

PlayedFile playInto(const TempDir& dir, const std::string& levelFolder, const std::string& ai, std::uint32_t moves) {
    const ProgramRun run = runTool(
        dir, {"play", "--level", levelFolder, "--ai", ai, "--moves", std::to_string(moves), "--out", "moves.txt"});
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    return {parsePlayOutput(run.output), linesOf(readFileBytes(dir.path() / "moves.txt"))};
}

ProgramRun verifyIn(const TempDir& dir, const std::string& levelFolder, const std::string& moveFile,
                    const std::vector<std::string>& extraArguments) {
    std::vector<std::string> arguments = {"verify", "--level", levelFolder, moveFile};
    arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
    return runTool(dir, arguments);
}

Game replayWithLibrary(const std::vector<std::string>& moveLines, std::size_t count) {
    Game game;
    initialFill(game);
    for (std::size_t i = 0; i < count; ++i) {
        const std::optional<Move> move = parseMoveLine(moveLines.at(i));
        MoveList legal;
        enumerateAll(game, &legal);
        if (!move || std::find(legal.begin(), legal.end(), *move) == legal.end()) {
            ADD_FAILURE() << "not a legal move: " << moveLines[i];
            break;
        }
        swap(game, *move);
        settle(game);
    }
    return game;
}
