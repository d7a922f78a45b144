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
    std::uint32_t movesPlayed = 0;
    if (!options.moveFile.empty()) movesPlayed = replayMoveFile(game, options.moveFile, options.after);
    if (options.after != kEveryMove && movesPlayed < options.after)
        throw ToolError(options.moveFile + " holds only " + std::to_string(movesPlayed) + " moves");

    drawNextJewels(game.supplyCursor);
    std::printf("\n");
    drawBoard(game);
    std::printf("score %u after %u moves\n", game.score, movesPlayed);
    if (!options.svgFile.empty()) writeTextFile(options.svgFile, boardSvg(game, movesPlayed));
    return 0;
}
