#pragma once

#include <cstdint>

#include "draw/ImageView.h"

// The canvas's bytes (R, G, B, A, as ImageData holds them) from the
// software renderer's 0x00RRGGBB pixels, opaque; out holds width x height
// words, rows one after the other.
void convertToCanvasBytes(const ImageView& frame, uint32_t* out);
