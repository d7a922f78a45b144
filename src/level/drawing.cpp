#include "level/drawing.h"

#include <cstdio>

#include "engine/game.h"

namespace {

void printCell(Cell cell) {
    if (cell == kRock)
        std::printf("##|");
    else if (cell == kEmpty)
        std::printf("  |");
    else
        std::printf("%2d|", cell);
}

void printSupplyJewel(std::uint32_t column, std::uint32_t position) {
    const SupplyColumn& supply = Level.supply[column];
    std::printf("%2d|", supply.jewels[position % supply.length()]);
}

}  // namespace

void drawBoard(const Game& game) {
    std::printf("    |");
    for (std::uint32_t column = 0; column < Level.columnCount; ++column) std::printf("%2u|", column);
    std::printf("\n----|");
    for (std::uint32_t column = 0; column < Level.columnCount; ++column) std::printf("--|");
    std::printf("\n");
    for (std::uint32_t row = 0; row < Level.rowCount; ++row) {
        std::printf("  %2u|", row);
        for (std::uint32_t column = 0; column < Level.columnCount; ++column)
            printCell(row < Level.stride ? cellAt(game, column, row) : kRock);
        std::printf("\n");
    }
    std::printf("\n");
}

void drawSupplyPreview(const SupplyCursors& supplyCursor) {
    for (std::uint32_t previewRow = Level.longestSupply; previewRow-- > 0;) {
        std::printf("    |");
        for (std::uint32_t column = 0; column < Level.columnCount; ++column) {
            if (previewRow < Level.supply[column].length())
                printSupplyJewel(column, supplyCursor[column] + previewRow);
            else
                std::printf("  |");
        }
        std::printf("\n");
    }
}

void drawNextJewels(const SupplyCursors& supplyCursor) {
    std::printf("    |");
    for (std::uint32_t column = 0; column < Level.columnCount; ++column) {
        // A column without a supply has no next jewel.
        if (Level.supply[column].length() == 0)
            std::printf("  |");
        else
            printSupplyJewel(column, supplyCursor[column]);
    }
    std::printf("\n");
}
