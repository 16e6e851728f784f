#pragma once

#include <string>

class Application;
class Game;

// What every platform does once its window is up and the about box has
// closed: seeds the random generator for the run (the one place it is
// seeded from the clock), names the window, makes the game, lets prepare
// change its world (the measuring tools start in their big worlds) and
// loads the city file when one is named. At the first start in a play
// directory the game points the player to the menu and the help. nullptr, with the reason in
// problem, when the city file is refused; the game is then not kept.
Game* startGame(Application& app, void (*prepare)(Game&), const std::string& cityFile, std::string& problem);
