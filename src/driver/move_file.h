#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/moves.h"

inline constexpr const char* kMoveFileName = "uitvoer.txt";

// The result of a match: one "column row letter" line per move, in move order.
class MoveFile {
public:
    // Creates or empties the file; throws std::runtime_error "Couldn't open output file".
    explicit MoveFile(std::string fileName);
    MoveFile(const MoveFile&) = delete;
    MoveFile& operator=(const MoveFile&) = delete;

    // Replaces what the file holds by these moves. They are written to a file
    // beside it that then takes its name in one rename, so a run killed meanwhile
    // leaves the old lines or the new ones, never a mix. Failures go unreported:
    // the writes that follow go nowhere.
    void replaceWith(std::span<const Move> moves);
    // Appends these moves and hands them to the system, so a run killed later
    // keeps every one of them.
    void append(std::span<const Move> moves);
    // Appends one move, buffered.
    void writeMove(std::uint32_t column, std::uint32_t row, std::uint32_t direction);
    void writeMove(const Move& move) { writeMove(move.column, move.row, move.direction); }

private:
    std::string fileName_;
    std::unique_ptr<std::ofstream> stream_;
};

// Reads one line of a move file, its line end removed: the column, one blank, the
// row, one blank and a letter of "NOZW", the numbers as plain digits. Answers
// nothing for any other text. A number too large for 32 bits reads as the
// largest value: the line has the form of a move, one that lies off the field.
std::optional<Move> parseMoveLine(std::string_view line);
