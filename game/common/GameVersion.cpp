#include "game/common/GameVersion.h"

const char* const kGameVersion = DOVI_GAME_VERSION;
