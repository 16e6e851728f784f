#include "game/Game.h"
#include "world/WorldObject.h"

// Kinds that have not landed yet.
