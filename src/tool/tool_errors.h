#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// Exit statuses of jewels-tool.
inline constexpr int kBadMoveLineStatus = 1;
inline constexpr int kToolErrorStatus = 2;
// As jewels gives up: the game ran out of legal moves before its last move.
inline constexpr int kRanDryStatus = 7;

// Something the tool cannot do with what it was given: arguments, files. what()
// is the one line shown after "jewels-tool: ".
class ToolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The first line of a move file that is not a legal move at its point in the
// game. what() is the verdict: "line L: malformed: TEXT" or "line L: illegal move: TEXT".
class BadMoveLine : public std::runtime_error {
public:
    BadMoveLine(std::uint32_t lineNumber, const std::string& problem, const std::string& text)
        : std::runtime_error("line " + std::to_string(lineNumber) + ": " + problem + ": " + text) {}
};
