#include <cstdio>
#include <filesystem>

#include "tool/commands.h"
#include "tool/random_level.h"
#include "tool/text_file.h"
#include "tool/tool_errors.h"

namespace {

LevelShape checkedShape(const GenerateOptions& options) {
    LevelShape shape = options.shape;
    shape.shortestSupply = options.supplyLengths.at(0);
    shape.longestSupply = options.supplyLengths.at(1);
    if (shape.shortestSupply > shape.longestSupply)
        throw ToolError("--supply: MIN " + std::to_string(shape.shortestSupply) + " is greater than MAX " +
                        std::to_string(shape.longestSupply));
    shape.rocks = options.rocks == "ragged" ? RockStyle::Ragged : RockStyle::None;
    return shape;
}

}  // namespace

int runGenerate(const GenerateOptions& options) {
    const LevelShape shape = checkedShape(options);
    const LevelFiles files = randomLevel(shape);
    const std::filesystem::path folder(options.folder);
    std::filesystem::create_directories(folder);
    writeTextFile(folder / "speelveld.txt", files.layout);
    writeTextFile(folder / "kolommen.txt", files.supply);
    std::printf("%ux%u level with %u kinds (seed %u) written to %s\n", shape.columns, shape.rows, shape.kinds,
                shape.seed, folder.string().c_str());
    return 0;
}
