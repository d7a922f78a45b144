#include "tool/svg.h"

#include <array>
#include <cmath>
#include <numbers>

#include "level/level.h"
#include "tool/svg_document.h"

namespace {

constexpr double kCellSize = 32.0;
constexpr double kMargin = 16.0;
constexpr double kGapBelowNextRow = 12.0;
constexpr double kCaptionHeight = 28.0;
constexpr double kJewelRadius = 12.0;

// A jewel is a regular polygon (or a star, when its inner corners sit closer in),
// or a circle when it has no corners.
struct JewelLook {
    const char* colour;
    unsigned corners;
    double turnDegrees;
    double innerRadiusShare;  // 1 for a plain polygon
};

constexpr std::array<JewelLook, kJewelKinds> kJewelLooks = {{
    {"#e6194b", 0, 0.0, 1.0},    // red circle
    {"#4363d8", 4, 45.0, 1.0},   // blue square
    {"#3cb44b", 4, 0.0, 1.0},    // green diamond
    {"#f58231", 3, 0.0, 1.0},    // orange triangle
    {"#911eb4", 6, 0.0, 1.0},    // purple hexagon
    {"#ffe119", 5, 0.0, 0.45},   // yellow star
    {"#42d4f4", 3, 180.0, 1.0},  // cyan triangle, point down
    {"#f032e6", 5, 0.0, 1.0},    // magenta pentagon
    {"#9a6324", 8, 22.5, 1.0},   // brown octagon
    {"#469990", 4, 0.0, 0.4},    // teal four-pointed star
}};

struct Point {
    double x;
    double y;
};

std::string polygonPoints(const JewelLook& look, Point centre) {
    const bool isStar = look.innerRadiusShare < 1.0;
    const unsigned pointCount = isStar ? 2 * look.corners : look.corners;
    std::string points;
    for (unsigned i = 0; i < pointCount; ++i) {
        const double degrees = -90.0 + look.turnDegrees + 360.0 * i / pointCount;
        const double radius = isStar && i % 2 == 1 ? kJewelRadius * look.innerRadiusShare : kJewelRadius;
        const double radians = degrees * std::numbers::pi / 180.0;
        if (i > 0) points += ' ';
        points += formatted("%.1f,%.1f", centre.x + radius * std::cos(radians), centre.y + radius * std::sin(radians));
    }
    return points;
}

std::string jewelShape(Cell kind, Point centre, const char* role) {
    const JewelLook& look = kJewelLooks[kind];
    const std::string paint = formatted("class=\"%s kind-%u\" fill=\"%s\" stroke=\"#222222\"", role,
                                        static_cast<unsigned>(kind), look.colour);
    if (look.corners == 0)
        return formatted("<circle %s cx=\"%.1f\" cy=\"%.1f\" r=\"%.1f\"/>\n", paint.c_str(), centre.x, centre.y,
                         kJewelRadius);
    return "<polygon " + paint + " points=\"" + polygonPoints(look, centre) + "\"/>\n";
}

std::string square(Point corner, const char* role, const char* fill) {
    return formatted(
        "<rect class=\"%s\" x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" fill=\"%s\" "
        "stroke=\"#d8d2c4\"/>\n",
        role, corner.x, corner.y, kCellSize, kCellSize, fill);
}

Point cellCorner(std::uint32_t column, double top, std::uint32_t row) {
    return {kMargin + column * kCellSize, top + row * kCellSize};
}

Point centreOf(Point corner) { return {corner.x + kCellSize / 2, corner.y + kCellSize / 2}; }

std::string nextJewelRow(const Game& game) {
    std::string row;
    for (std::uint32_t column = 0; column < Level.columnCount; ++column) {
        const SupplyColumn& supply = Level.supply[column];
        if (supply.length() == 0) continue;
        const Point corner = cellCorner(column, kMargin, 0);
        row += square(corner, "next-space", "#ece6d8");
        row += jewelShape(supply.jewels[game.supplyCursor[column] % supply.length()], centreOf(corner), "next");
    }
    return row;
}

// Rows below the tallest column are not stored: they are rock in every column.
Cell cellOrRock(const Game& game, std::uint32_t column, std::uint32_t row) {
    return row < Level.stride ? cellAt(game, column, row) : kRock;
}

std::string fieldCells(const Game& game, double fieldTop) {
    std::string cells;
    for (std::uint32_t row = 0; row < Level.rowCount; ++row) {
        for (std::uint32_t column = 0; column < Level.columnCount; ++column) {
            const Cell cell = cellOrRock(game, column, row);
            const Point corner = cellCorner(column, fieldTop, row);
            if (cell == kRock) {
                cells += square(corner, "rock", "#3b3b3b");
                continue;
            }
            cells += square(corner, "space", "#ffffff");
            if (cell < kJewelKinds) cells += jewelShape(cell, centreOf(corner), "jewel");
        }
    }
    return cells;
}

}  // namespace

std::string boardSvg(const Game& game, std::uint32_t movesPlayed) {
    const double width = 2 * kMargin + Level.columnCount * kCellSize;
    const double fieldTop = kMargin + kCellSize + kGapBelowNextRow;
    const double captionBaseline = fieldTop + Level.rowCount * kCellSize + kCaptionHeight * 0.7;
    const double height = fieldTop + Level.rowCount * kCellSize + kCaptionHeight + kMargin;
    const std::string caption = formatted("score %u after %u moves", game.score, movesPlayed);

    std::string svg = svgOpening(width, height, "jewels: " + caption);
    svg += nextJewelRow(game);
    svg += fieldCells(game, fieldTop);
    svg += formatted(
        "<text class=\"caption\" x=\"%.1f\" y=\"%.1f\" font-family=\"sans-serif\" "
        "font-size=\"14\">%s</text>\n",
        kMargin, captionBaseline, caption.c_str());
    svg += "</svg>\n";
    return svg;
}
