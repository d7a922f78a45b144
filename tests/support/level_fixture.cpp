#include "support/level_fixture.h"

#include <atomic>
#include <fstream>
#include <stdexcept>

#include <unistd.h>

#include "engine/gravity.h"

TempDir::TempDir() {
    static std::atomic<unsigned> serial{0};
    path_ = std::filesystem::temp_directory_path() /
            ("jewels-test-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void TempDir::write(const std::string& fileName, const std::string& bytes) const {
    std::ofstream out(path_ / fileName, std::ios::binary);
    out << bytes;
}

void TempDir::writeLevel(const std::string& layout, const std::string& supply) const {
    write("speelveld.txt", layout);
    write("kolommen.txt", supply);
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) joined += '\n';
        joined += lines[i];
    }
    return joined;
}

void loadLevel(const std::vector<std::string>& layoutRows, const std::vector<std::string>& supplyLines) {
    TempDir dir;
    dir.writeLevel(joinLines(layoutRows), joinLines(supplyLines));
    readLayoutFile(dir.file("speelveld.txt"));
    readSupplyFile(dir.file("kolommen.txt"));
}

void writeLevelWithoutMoves(const TempDir& dir) {
    // Read bottom-up, each column holds the diagonal pattern of a field in which
    // each kind recurs only five cells away, so no swap makes a run; column 0
    // reaches it once its first three 0s are cleared and refilled.
    dir.writeLevel("00000\n00000\n00000\n00000\n00000\n11111\n",
                   joinLines({"00031420", "42031", "03142", "14203", "20314"}));
}

void writeLevelWhoseFirstMoveNeverSettles(const TempDir& dir) {
    dir.writeLevel("01111\n01111\n01111\n01111\n01111\n", "00111100\n\n\n\n");
}

void loadBundledLevel(const std::string& name) {
    const std::string folder = std::string(JEWELS_SOURCE_DIR) + "/levels/" + name + "/";
    readLayoutFile(folder + "speelveld.txt");
    readSupplyFile(folder + "kolommen.txt");
}

Game loadSettledLevel(const std::string& name) {
    loadBundledLevel(name);
    Game game;
    if (!initialFill(game)) throw std::runtime_error(name + " never comes to rest");
    return game;
}

RandomLevel makeRandomLevel(std::mt19937& random, std::uint32_t widest, std::uint32_t tallest) {
    auto between = [&](std::uint32_t low, std::uint32_t high) {
        return std::uniform_int_distribution<std::uint32_t>(low, high)(random);
    };
    const std::uint32_t columns = between(5, widest);
    const std::uint32_t rows = between(5, tallest);
    const std::uint32_t kinds = between(3, 7);
    const bool withRock = between(0, 1) == 1;

    std::vector<std::uint32_t> heights(columns, rows);
    if (withRock)
        for (std::uint32_t& height : heights) height = between(0, 4) == 0 ? between(0, rows) : between(rows - 3, rows);

    RandomLevel level;
    for (std::uint32_t row = 0; row < rows; ++row) {
        std::string line;
        for (std::uint32_t column = 0; column < columns; ++column) line += row < heights[column] ? '0' : '1';
        level.layout.push_back(line);
    }
    for (std::uint32_t column = 0; column < columns; ++column) {
        std::string supply;
        for (std::uint32_t length = between(1, 40); length > 0; --length)
            supply += static_cast<char>('0' + between(0, kinds - 1));
        level.supplies.push_back(supply);
    }
    return level;
}

bool loadSettledRandomLevel(std::mt19937& random, std::uint32_t widest, std::uint32_t tallest, Game& game,
                            RandomLevel* made) {
    const RandomLevel level = makeRandomLevel(random, widest, tallest);
    loadLevel(level.layout, level.supplies);
    if (made != nullptr) *made = level;
    game = Game();
    return initialFill(game);
}
