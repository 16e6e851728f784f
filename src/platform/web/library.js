// What the game's C++ side calls in the page (see PageCalls.h); the page's
// own script (page.js) does the work.
mergeInto(LibraryManager.library, {
  verlomba_put_image: function (bytes, width, height) { verlombaPage.put(bytes, width, height); },
  verlomba_set_canvas: function (width, height) { verlombaPage.setCanvas(width, height); },
  verlomba_set_title: function (text) { document.title = UTF8ToString(text); },
  verlomba_set_cursor: function (shape) { verlombaPage.setCursor(shape); },
  verlomba_download: function (path, name) { verlombaPage.download(UTF8ToString(path), UTF8ToString(name)); },
  verlomba_keep: function (name) { verlombaPage.keep(UTF8ToString(name)); },
  verlomba_toggle_fullscreen: function () { verlombaPage.toggleFullscreen(); },
  verlomba_device_pixel_ratio: function () { return window.devicePixelRatio || 1; },
  verlomba_room_width: function () { return verlombaPage.room().width; },
  verlomba_room_height: function () { return verlombaPage.room().height; },
});
