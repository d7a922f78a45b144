#include <cstdio>
#include <memory>

#include "ai/play_moves.h"
#include "driver/move_file.h"
#include "tool/commands.h"
#include "tool/level_loading.h"
#include "tool/move_timer.h"
#include "tool/strategy_choice.h"

int runPlay(const PlayOptions& options) {
    const unsigned strategy = strategyNumber(options.ai);
    loadLevelFrom(options.levelFolder);
    Game game = settledStartingGame();
    const std::unique_ptr<Ai> ai = makeStrategy(strategy);
    const std::unique_ptr<MoveFile> moveFile =
        options.outFile.empty() ? nullptr : std::make_unique<MoveFile>(options.outFile);

    std::uint32_t movesPlayed = 0;
    const auto reportMove = [&movesPlayed, &moveFile](const Move& move, const Game& played) {
        std::printf("%u %u %u %c %u\n", movesPlayed, move.column, move.row, kDirectionLetters[move.direction],
                    played.score);
        ++movesPlayed;
        if (moveFile) moveFile->writeMove(move);
    };
    const MoveTimer timer;
    const std::uint32_t points = playMoves(game, *ai, options.moves, reportMove);
    std::printf("total %u moves %u\n", points, movesPlayed);
    if (options.time) timer.report(movesPlayed);
    return 0;
}
