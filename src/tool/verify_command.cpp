#include <cstdio>
#include <filesystem>

#include "driver/move_file.h"
#include "tool/commands.h"
#include "tool/level_loading.h"
#include "tool/move_timer.h"

int runVerify(const VerifyOptions& options) {
    loadLevelFrom(options.levelFolder);
    Game game = settledStartingGame();
    const std::filesystem::path moveFile =
        options.moveFile.empty() ? std::filesystem::path(options.levelFolder) / kMoveFileName
                                 : std::filesystem::path(options.moveFile);
    // The score of a move file is what its moves gained, as play's total counts
    // it; the points of the first fill belong to the level, not to the moves.
    const std::uint32_t startScore = game.score;
    const auto reportProgress = [&options, startScore](std::uint32_t movesPlayed, const Game& played) {
        if (options.every != 0 && movesPlayed % options.every == 0)
            std::printf("after %u moves: score %u\n", movesPlayed, played.score - startScore);
    };
    const MoveTimer timer;
    const std::uint32_t movesPlayed = replayMoveFile(game, moveFile, kEveryMove, reportProgress);
    std::printf("ok %u moves, score %u\n", movesPlayed, game.score - startScore);
    if (options.time) timer.report(movesPlayed);
    return 0;
}
