#pragma once

// The commented Verlomba.ini shipped with the game, built in so that a fresh
// per-user directory can be given one without looking for installed files.
const char* tuningTemplate();
