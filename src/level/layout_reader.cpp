#include <array>
#include <fstream>

#include "level/level.h"
#include "level/line_reader.h"

namespace {

using LayoutGrid = std::array<std::array<std::uint8_t, kMaxRows>, kMaxColumns>;

// A column's jewel spaces are the rows above the unbroken run of rock at its
// bottom; a "1" with a "0" anywhere below it is still a jewel space.
std::uint32_t heightOfColumn(const LayoutGrid& grid, std::uint32_t column, std::uint32_t rowCount) {
    std::uint32_t height = rowCount;
    while (height > 0 && grid[column][height - 1] == 1) --height;
    return height;
}

}  // namespace

void readLayoutFile(const std::string& fileName) {
    const std::uint32_t loads = Level.loads + 1;
    Level = LevelData{};
    Level.loads = loads;
    std::ifstream in(fileName);
    if (!in.is_open()) throw LevelError("Kon bestand niet openen... asdfjkl; ");

    LayoutGrid grid{};
    std::uint32_t lineCount = 0;
    std::string line;
    while (!in.eof() && !in.bad()) {
        readLevelLine(in, line);
        if (line.empty()) continue;
        if (lineCount == kMaxRows) throw LevelError("Te veel regels! (>50)\n");
        if (lineCount == 0) {
            if (line.size() > kMaxColumns) throw LevelError("Te veel kolommen! (>50)\n");
            Level.columnCount = static_cast<std::uint32_t>(line.size());
        } else if (line.size() != Level.columnCount) {
            throw LevelError("Ow jee, deze regel is niet even lang als de eerste :(\n");
        }
        for (std::uint32_t column = 0; column < line.size(); ++column) {
            const char cell = line[column];
            if (cell != '0' && cell != '1') throw LevelError("Ow jee, alleen '0' en '1' toegestaan\n");
            grid[column][lineCount] = static_cast<std::uint8_t>(cell - '0');
        }
        ++lineCount;
    }
    if (in.bad()) throw LevelError("shit");

    Level.rowCount = lineCount;
    if (Level.columnCount < kMinFieldSize || Level.rowCount < kMinFieldSize)
        throw LevelError("Speelveld is te klein!\n");

    for (std::uint32_t column = 0; column < Level.columnCount; ++column) {
        const std::uint32_t height = heightOfColumn(grid, column, Level.rowCount);
        Level.columnHeight[column] = height;
        Level.jewelRows[column] = height == 0 ? 0 : ~std::uint64_t{0} >> (64 - height);
        Level.jewelSpaceCount += height;
        if (height > Level.tallestColumn) Level.tallestColumn = height;
    }
    Level.stride = Level.tallestColumn < 16 ? 16 : Level.tallestColumn;
    Level.averageColumnHeight = static_cast<float>(Level.jewelSpaceCount) / static_cast<float>(Level.columnCount);
}
