#pragma once

#include <cstdint>

#include "engine/game.h"

// Points of one cleared group by its number of cells.
inline constexpr std::uint32_t kPointsForThree = 50;
inline constexpr std::uint32_t kPointsForFour = 100;
inline constexpr std::uint32_t kPointsForMore = 250;

std::uint32_t pointsForGroup(std::uint32_t cellCount);

// Flags every run of three or more in the dirty columns (and horizontal runs
// starting up to two columns left of them); the dirty range becomes the columns
// holding marked runs. Returns the number of runs marked.
std::uint32_t markMatches(Game& game);

// Empties the group of flagged cells that holds (column, row), adding its size to count.
void floodClear(Game& game, std::uint32_t column, std::uint32_t row, std::uint32_t& count);

// Marks, clears and scores every group in the dirty columns. Returns the number
// of groups cleared; 0 means the dirty columns were stable.
std::uint32_t clearAndScore(Game& game);

// clearAndScore for a field that was at rest, with no run anywhere, before its
// dirty columns changed in rows 0 to lowestChangedRow only (as a refill
// changes them): it compares only the rows a new run can reach.
std::uint32_t clearAndScoreAbove(Game& game, std::uint32_t lowestChangedRow);

// Clears and scores the group through the jewel at (column, row) of a field that
// was at rest before one swap changed this cell: any run there passes through
// it. Widens the dirty range by the columns cleared; returns 1 when a group was
// cleared, else 0.
std::uint32_t clearGroupThrough(Game& game, std::uint32_t column, std::uint32_t row);
