#pragma once

#include <string>

class ScriptedApplication;

// The frame the application's game shows now, drawn by the software
// renderer into an image of the view at a scale of 1 on white, as a binary
// PPM: what a window would show, to compare builds pixel for pixel.
std::string softwareFramePpm(ScriptedApplication& app);
