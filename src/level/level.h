#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

inline constexpr std::uint32_t kMinFieldSize = 5;
inline constexpr std::uint32_t kMaxColumns = 50;
inline constexpr std::uint32_t kMaxRows = 50;
inline constexpr std::uint32_t kJewelKinds = 10;
// The jewels of one column's supply that one refill can reach: a whole period
// (at most 256) from any cursor, plus a column's height.
inline constexpr std::uint32_t kFallingSpan = 256 + kMaxRows;

// The jewels that fall into one column, first to enter first, used cyclically.
struct SupplyColumn {
    std::vector<std::uint8_t> jewels;

    std::uint32_t length() const { return static_cast<std::uint32_t>(jewels.size()); }
};

// Everything about the level that never changes during play. Filled once by the
// two readers, then only read.
struct LevelData {
    std::uint32_t columnCount = 0;
    std::uint32_t rowCount = 0;
    std::array<std::uint32_t, kMaxColumns> columnHeight{};
    std::uint32_t tallestColumn = 0;  // the greatest column height
    // Cells stored per column: the greatest column height, or 16 when that is
    // less, so that every column of a low field fills one 16-cell block and
    // no block of cells spans two columns.
    std::uint32_t stride = 0;
    // Per column, bit r set for every jewel space (row r below the column's height).
    std::array<std::uint64_t, kMaxColumns> jewelRows{};
    std::uint32_t jewelSpaceCount = 0;
    float averageColumnHeight = 0.0f;

    std::vector<SupplyColumn> supply;
    std::uint32_t supplyJewelCount = 0;
    std::array<std::uint32_t, kJewelKinds> supplyKindCount{};
    std::array<float, kJewelKinds> supplyKindShare{};
    std::uint32_t longestSupply = 0;
    float averageSupplyLength = 0.0f;
    // Per column, the supply repeated and written backwards, so that the jewels
    // a refill takes next lie in one block, in the order they stack up in the
    // column: drop jewels from cursor c are fallingJewels[column][kFallingSpan - c - drop ...].
    // The supply repeats every supplyPeriod jewels: its length, but at most 256,
    // as the cursor that walks it is one byte.
    std::array<std::uint32_t, kMaxColumns> supplyPeriod{};
    std::array<std::array<std::uint8_t, kFallingSpan + 64>, kMaxColumns> fallingJewels{};

    // Counts the files read into this record, so that whatever remembers
    // positions of one level can tell when another has been loaded.
    std::uint32_t loads = 0;
};

extern LevelData Level;

// A malformed level file; what() is the exact text shown to the user.
class LevelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the field layout into Level. Throws LevelError.
void readLayoutFile(const std::string& fileName);

// Reads the column supplies into Level; needs the layout first. Throws LevelError.
void readSupplyFile(const std::string& fileName);
