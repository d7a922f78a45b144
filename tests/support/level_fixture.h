#pragma once

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/game.h"

// A fresh temporary folder, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes the bytes exactly as given (no line-end translation).
    void write(const std::string& fileName, const std::string& bytes) const;
    std::string file(const std::string& fileName) const { return (path_ / fileName).string(); }
    // Writes speelveld.txt and kolommen.txt.
    void writeLevel(const std::string& layout, const std::string& supply) const;

private:
    std::filesystem::path path_;
};

// Joins lines with "\n", without a line feed after the last.
std::string joinLines(const std::vector<std::string>& lines);

// Writes speelveld.txt and kolommen.txt (lines joined, no final line feed) and
// loads them into Level with the real readers.
void loadLevel(const std::vector<std::string>& layoutRows, const std::vector<std::string>& supplyLines);

// Writes a level of five columns on a row of rock whose first fill clears one
// run of three, for 50 points, and comes to rest without a legal move: every
// strategy fails at once, so a benchmark takes no time and a match gives up.
void writeLevelWithoutMoves(const TempDir& dir);

// Writes a level of one column between rock whose first fill settles, but
// whose only move, 0 1 Z, sets off runs of 1s that the supply keeps bringing
// back until the refill cap.
void writeLevelWhoseFirstMoveNeverSettles(const TempDir& dir);

// Loads a bundled level (a folder of levels/, e.g. "small-8x8") with the real readers.
void loadBundledLevel(const std::string& name);

// A bundled level's game as it stands after the first fill; throws if the first
// fill never comes to rest.
Game loadSettledLevel(const std::string& name);

struct RandomLevel {
    std::vector<std::string> layout;
    std::vector<std::string> supplies;
};

// A random level of 5 to widest columns and 5 to tallest rows, 3 to 7 kinds and
// supplies of 1 to 40 jewels; half of them with rock of random heights.
RandomLevel makeRandomLevel(std::mt19937& random, std::uint32_t widest = 12, std::uint32_t tallest = 12);

// Makes a random level as makeRandomLevel does, loads it and fills game from
// it; false when the first fill never comes to rest. Writes the level's files
// to made when given.
bool loadSettledRandomLevel(std::mt19937& random, std::uint32_t widest, std::uint32_t tallest, Game& game,
                            RandomLevel* made = nullptr);
