#pragma once

#include <string>

class ScriptedApplication;

// The frame the application's game shows now, drawn by the software
// renderer into an image of the view at a scale of 1 on white, as a binary
// PPM: what a window would show, to compare builds pixel for pixel.
std::string softwareFramePpm(ScriptedApplication& app);

// Runs count more frames of the application's game, each drawn by the
// software renderer into such an image before its tick, as a window's
// frames are; the mean wall-clock milliseconds of one, for measuring.
double timeSoftwareFrames(ScriptedApplication& app, int count);
