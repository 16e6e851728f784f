#pragma once

#include <string>

// Which drawing path the game window uses.
enum class Renderer { OpenGL, Software };

// The renderer for a GL_RENDERER string and the VERLOMBA_RENDERER setting
// ("gl" or "software"; null or empty when unset): the setting when it names
// one, otherwise the software renderer where OpenGL itself rasterizes on
// the CPU (Mesa's llvmpipe, softpipe and swrast), OpenGL elsewhere.
// complaint receives a line for standard error when the setting is not
// understood, and stays empty otherwise.
Renderer chooseRenderer(const char* setting, const char* glRenderer, std::string& complaint);

const char* rendererName(Renderer renderer);
