#include "tool/level_loading.h"

#include "driver/live_game.h"
#include "engine/gravity.h"
#include "level/level.h"

void loadLevelFrom(const std::filesystem::path& folder) {
    readLayoutFile((folder / "speelveld.txt").string());
    readSupplyFile((folder / "kolommen.txt").string());
}

Game settledStartingGame() {
    Game game;
    if (!initialFill(game)) throw NeverSettles();
    return game;
}
