#include "level/reports.h"

#include <cstdio>

#include "level/level.h"

namespace {

double percentageOf(std::uint32_t count, std::uint32_t boardSize) {
    return static_cast<double>(static_cast<float>(count) / static_cast<float>(boardSize)) * 100.0;
}

}  // namespace

void printBoardReport() {
    const std::uint32_t boardSize = Level.columnCount * Level.rowCount;
    const std::uint32_t rockCount = boardSize - Level.jewelSpaceCount;
    std::printf("Board\n");
    std::printf("    Dimensions: %ux%u\n", Level.columnCount, Level.rowCount);
    std::printf("    Board size: %u\n", boardSize);
    std::printf("    # of jewel spaces: %u (%.2f%%)\n", Level.jewelSpaceCount,
                percentageOf(Level.jewelSpaceCount, boardSize));
    std::printf("    # of rocks: %u (%.2f%%)\n", rockCount, percentageOf(rockCount, boardSize));
    std::printf("    Avg column size: %.2f\n", static_cast<double>(Level.averageColumnHeight));
    std::printf("    Layout:\n");
    for (std::uint32_t row = 0; row < Level.rowCount; ++row) {
        std::printf("      ");
        for (std::uint32_t column = 0; column < Level.columnCount; ++column)
            std::printf("%c", row < Level.columnHeight[column] ? '0' : '1');
        std::printf("\n");
    }
}

void printSupplyReport() {
    std::printf("Jewel supply\n");
    std::printf("    Columns: %u\n", Level.columnCount);
    std::printf("    Jewels: %u\n", Level.supplyJewelCount);
    std::printf("    Avg jewels per column in supply: %.2f\n", static_cast<double>(Level.averageSupplyLength));
    std::printf("    Jewel frequencies:\n");
    for (std::uint32_t kind = 0; kind < kJewelKinds; ++kind)
        std::printf("        Jewel %u: %02.1f%%\n", kind, static_cast<double>(Level.supplyKindShare[kind]) * 100.0);
}
