#pragma once

#include <filesystem>

#include "engine/game.h"

// Loads the level of a folder into Level with the program's own readers.
// Throws LevelError with the reader's message.
void loadLevelFrom(const std::filesystem::path& folder);

// The loaded level's game after its first fill, as every command starts from it.
// Throws NeverSettles when the first fill never comes to rest.
Game settledStartingGame();
