#include <cstdio>
#include <fstream>

#include "level/level.h"
#include "level/line_reader.h"

namespace {

void resetSupply() {
    ++Level.loads;
    Level.supply.assign(Level.columnCount, SupplyColumn{});
    Level.supplyPeriod.fill(0);
    Level.supplyJewelCount = 0;
    Level.supplyKindCount.fill(0);
    Level.supplyKindShare.fill(0.0f);
    Level.longestSupply = 0;
    Level.averageSupplyLength = 0.0f;
}

void storeSupplyLine(SupplyColumn& column, const std::string& line) {
    column.jewels.resize(line.size());
    Level.supplyJewelCount += static_cast<std::uint32_t>(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        // Characters below '0' wrap to large values, so one test rejects both sides.
        const auto kind = static_cast<std::uint8_t>(line[i] - '0');
        if (kind > 9) throw LevelError("Ow jee, alleen '0' tot '9' toegestaan\n");
        column.jewels[i] = kind;
        ++Level.supplyKindCount[kind];
    }
}

void computeSupplyStatistics() {
    for (const SupplyColumn& column : Level.supply)
        if (column.length() > Level.longestSupply) Level.longestSupply = column.length();
    // With every supply empty the shares would be 0/0; they stay 0.
    if (Level.supplyJewelCount > 0) {
        const auto jewelCount = static_cast<float>(Level.supplyJewelCount);
        for (std::uint32_t kind = 0; kind < kJewelKinds; ++kind)
            Level.supplyKindShare[kind] = static_cast<float>(Level.supplyKindCount[kind]) / jewelCount;
    }
    Level.averageSupplyLength = static_cast<float>(Level.supplyJewelCount) / static_cast<float>(Level.columnCount);
}

void computeFallingJewels() {
    for (std::uint32_t column = 0; column < Level.columnCount; ++column) {
        const std::vector<std::uint8_t>& jewels = Level.supply[column].jewels;
        const auto period = static_cast<std::uint32_t>(jewels.size() < 256 ? jewels.size() : 256);
        Level.supplyPeriod[column] = period;
        if (period == 0) continue;
        for (std::uint32_t taken = 0; taken < kFallingSpan; ++taken)
            Level.fallingJewels[column][kFallingSpan - 1 - taken] = jewels[taken % period];
    }
}

// A column with jewel spaces and nothing to refill them with would keep empty
// cells forever, so such a level is refused rather than played.
void rejectUnfillableColumns() {
    for (std::uint32_t column = 0; column < Level.columnCount; ++column) {
        if (Level.columnHeight[column] > 0 && Level.supply[column].length() == 0) {
            char message[96];
            std::snprintf(message, sizeof message, "Ow jee, kolom %u heeft vakken maar geen juwelen\n", column);
            throw LevelError(message);
        }
    }
}

}  // namespace

void readSupplyFile(const std::string& fileName) {
    resetSupply();
    // A file that cannot be opened reads as an endless run of empty lines, which
    // the too-many-lines test ends.
    std::ifstream in(fileName);

    std::uint32_t columnIndex = 0;
    std::string line;
    while (!in.eof() && !in.bad()) {
        readLevelLine(in, line);
        if (columnIndex == Level.columnCount) throw LevelError("Te veel kolommen, meer dan in speelveld.txt");
        storeSupplyLine(Level.supply[columnIndex], line);
        ++columnIndex;
    }
    if (columnIndex != Level.columnCount) throw LevelError("Aantal kolommen niet gelijk aan data in speelveld.txt");

    computeSupplyStatistics();
    computeFallingJewels();
    rejectUnfillableColumns();
}
