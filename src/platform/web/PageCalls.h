#pragma once

// What the C++ side asks of the page (library.js).
extern "C" {
// Shows width x height canvas bytes (R, G, B, A) from the module's memory.
void verlomba_put_image(const void* bytes, int width, int height);
// Gives the canvas this many pixels, shown at the device's pixels.
void verlomba_set_canvas(int width, int height);
void verlomba_set_title(const char* text);
// The game's cursor shapes: 0 none, 2 crosshair, 6 text, others the arrow.
void verlomba_set_cursor(int shape);
// Offers the file at path in the module's files as a download named name.
void verlomba_download(const char* path, const char* name);
// Starts writing the file of the game's directory named name to the
// browser's storage; the page answers with verlomba_kept.
void verlomba_keep(const char* name);
void verlomba_toggle_fullscreen();
// The page's devicePixelRatio and its room in CSS pixels.
double verlomba_device_pixel_ratio();
int verlomba_room_width();
int verlomba_room_height();
}
