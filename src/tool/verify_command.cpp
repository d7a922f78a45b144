#include <cstdio>
#include <filesystem>

#include "driver/move_file.h"
#include "tool/commands.h"
#include "tool/level_loading.h"
#include "tool/move_timer.h"

int runVerify(const VerifyOptions& options) {
    loadLevelFrom(options.levelFolder);
    Game game = settledStartingGame();
    const std::filesystem::path moveFile = options.moveFile.empty()
                                               ? std::filesystem::path(options.levelFolder) / kMoveFileName
                                               : std::filesystem::path(options.moveFile);
    // The score is the game's, the first fill's points included, as jewels prints
    // it before every chunk, so that the figures of a run and of its replay meet.
    const auto reportProgress = [&options](std::uint32_t movesPlayed, const Game& played) {
        if (options.every != 0 && movesPlayed % options.every == 0)
            std::printf("after %u moves: score %u\n", movesPlayed, played.score);
    };
    const MoveTimer timer;
    const std::uint32_t movesPlayed = replayMoveFile(game, moveFile, kEveryMove, reportProgress);
    std::printf("ok %u moves, score %u\n", movesPlayed, game.score);
    if (options.time) timer.report(movesPlayed);
    return 0;
}
