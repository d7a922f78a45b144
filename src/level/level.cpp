#include "level/level.h"

LevelData Level;
