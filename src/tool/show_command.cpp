#include <cstdio>

#include "level/drawing.h"
#include "tool/commands.h"
#include "tool/level_loading.h"
#include "tool/svg.h"
#include "tool/text_file.h"
#include "tool/tool_errors.h"

int runShow(const ShowOptions& options) {
    loadLevelFrom(options.levelFolder);
    Game game = settledStartingGame();
    // Scores count what the moves gained, as verify and play's total do.
    const std::uint32_t startScore = game.score;
    std::uint32_t movesPlayed = 0;
    if (!options.moveFile.empty()) movesPlayed = replayMoveFile(game, options.moveFile, options.after);
    if (options.after != kEveryMove && movesPlayed < options.after)
        throw ToolError(options.moveFile + " holds only " + std::to_string(movesPlayed) + " moves");

    drawNextJewels(game.supplyCursor);
    std::printf("\n");
    drawBoard(game);
    const std::uint32_t pointsGained = game.score - startScore;
    std::printf("score %u after %u moves\n", pointsGained, movesPlayed);
    if (!options.svgFile.empty()) writeTextFile(options.svgFile, boardSvg(game, pointsGained, movesPlayed));
    return 0;
}
