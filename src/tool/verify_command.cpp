#include <cstdio>
#include <filesystem>

#include "driver/move_file.h"
#include "tool/commands.h"
#include "tool/level_loading.h"

int runVerify(const VerifyOptions& options) {
    loadLevelFrom(options.levelFolder);
    Game game = settledStartingGame();
    const std::filesystem::path moveFile =
        options.moveFile.empty() ? std::filesystem::path(options.levelFolder) / kMoveFileName
                                 : std::filesystem::path(options.moveFile);
    const auto reportProgress = [&options](std::uint32_t movesPlayed, const Game& played) {
        if (options.every != 0 && movesPlayed % options.every == 0)
            std::printf("after %u moves: score %u\n", movesPlayed, played.score);
    };
    const std::uint32_t movesPlayed = replayMoveFile(game, moveFile, kEveryMove, reportProgress);
    std::printf("ok %u moves, score %u\n", movesPlayed, game.score);
    return 0;
}
