// The page around the game: the canvas and its input, the menu drawn as a
// page element, the files kept in the browser, and window.verlomba.
// Runs before the module starts (emcc --pre-js).

// The game's directory, kept in the browser's storage.
var verlombaPlay = '/verlomba';
// Files a host may put beside index.html; read before the game starts.
var verlombaHostFiles = ['Verlomba.ini', 'copyright.txt'];
// Asked for at once, while the module loads.
var verlombaFetches = verlombaHostFiles.map(function (name) {
  return fetch(name, {cache: 'no-cache'})
    .then(function (r) { return r.ok ? r.arrayBuffer() : null; })
    .catch(function () { return null; });
});

var verlombaPage = (function () {
  var canvas = document.getElementById('canvas');
  var stage = document.getElementById('stage');
  var menu = document.getElementById('menu');
  var fileInput = document.getElementById('city-file');
  var context = canvas.getContext('2d', {alpha: false});
  var image = null;
  var imageBuffer = null;
  var imageBytes = 0;
  var started = false;
  var ratio = window.devicePixelRatio || 1;
  // The modifier bits of InputMapping.h.
  var SHIFT = 1, CTRL = 2, ALT = 4;
  var keyCodes = {Enter: 13, Escape: 27, Backspace: 8, Delete: 127, Tab: 9,
                  ArrowLeft: 1000, ArrowRight: 1001, ArrowUp: 1002, ArrowDown: 1003,
                  Home: 1004, F1: 1005};
  var cursors = {0: 'none', 2: 'crosshair', 6: 'text'};

  function modifiers(e) {
    return (e.shiftKey ? SHIFT : 0) | (e.ctrlKey ? CTRL : 0) | (e.altKey ? ALT : 0);
  }
  // Canvas pixels under a mouse event.
  function at(e) {
    var r = canvas.getBoundingClientRect();
    return [Math.floor((e.clientX - r.left) * canvas.width / r.width),
            Math.floor((e.clientY - r.top) * canvas.height / r.height)];
  }
  function fullscreen() { return document.fullscreenElement === stage; }

  function fitFullscreen() {
    if (!started) return;
    Module._verlomba_resize(Math.round(stage.clientWidth * ratio), Math.round(stage.clientHeight * ratio),
                            fullscreen() ? 1 : 0);
  }

  // --- the menu, in the look of the desktop's -------------------------------
  function closeMenu() {
    menu.hidden = true;
    menu.textContent = '';
  }
  function menuItem(list, label, action, subMenu) {
    var item = document.createElement('div');
    item.className = subMenu ? 'item sub' : 'item';
    item.textContent = label;
    // Pointing at an item closes the sub-menus opened beside its list.
    item.addEventListener('mouseenter', function () {
      while (list.nextSibling) menu.removeChild(list.nextSibling);
    });
    item.addEventListener('mouseup', function (e) {
      if (subMenu) return;
      e.stopPropagation();
      closeMenu();
      action();
    });
    list.appendChild(item);
    return item;
  }
  function menuList(id, x, y) {
    var list = document.createElement('div');
    list.className = 'list';
    list.style.left = x + 'px';
    list.style.top = y + 'px';
    menu.appendChild(list);
    var text = UTF8ToString(Module._verlomba_menu_describe(id));
    text.split('\n').forEach(function (line) {
      if (!line) return;
      var parts = line.split('\t');
      var kind = parts[0], value = +parts[1], label = parts.slice(2).join('\t');
      if (kind === 'M') {
        var item = menuItem(list, label, null, true);
        item.addEventListener('mouseenter', function () {
          var b = item.getBoundingClientRect(), s = menu.getBoundingClientRect();
          menuList(value, b.right - s.left, b.top - s.top);
        });
      } else {
        menuItem(list, label, function () { Module._verlomba_menu_pick(id, value); });
      }
    });
    return list;
  }
  function openMenu(e) {
    var root = Module._verlomba_menu_root();
    if (!root) return;
    closeMenu();
    menu.hidden = false;
    var s = stage.getBoundingClientRect();
    var list = menuList(root, e.clientX - s.left, e.clientY - s.top);
    // The browser's own files, after the game's entries.
    menuItem(list, 'Download City', function () { Module._verlomba_download_city(); });
    menuItem(list, 'Open City File...', function () { fileInput.value = ''; fileInput.click(); });
  }

  function openCityFile() {
    var file = fileInput.files[0];
    if (!file) return;
    file.arrayBuffer().then(function (bytes) {
      var path = '/tmp/opened-city.txt';
      FS.writeFile(path, new Uint8Array(bytes));
      Module.ccall('verlomba_open_city', null, ['string', 'string'], [path, file.name]);
    });
  }

  function listen() {
    canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });
    menu.addEventListener('contextmenu', function (e) { e.preventDefault(); });
    canvas.addEventListener('mousedown', function (e) {
      canvas.focus();
      if (e.button === 2) {
        openMenu(e);
      } else if (e.button === 0) {
        closeMenu();
        var p = at(e);
        Module._verlomba_mouse_down(p[0], p[1], modifiers(e));
      } else if (e.button === 1) {
        // The middle button moves the view (and never scrolls the page).
        closeMenu();
        var q = at(e);
        Module._verlomba_middle_button(q[0], q[1], 1);
      }
      e.preventDefault();
    });
    window.addEventListener('mousedown', function (e) {
      if (!menu.hidden && !menu.contains(e.target) && e.target !== canvas) closeMenu();
    });
    window.addEventListener('mousemove', function (e) {
      var p = at(e);
      Module._verlomba_mouse_move(p[0], p[1]);
    });
    window.addEventListener('mouseup', function (e) {
      if (e.button === 1) {
        var q = at(e);
        Module._verlomba_middle_button(q[0], q[1], 0);
        return;
      }
      if (e.button !== 0) return;
      var p = at(e);
      Module._verlomba_mouse_up(p[0], p[1], modifiers(e));
    });
    canvas.addEventListener('wheel', function (e) {
      e.preventDefault();
      if (e.deltaY !== 0) Module._verlomba_wheel(e.deltaY < 0 ? 1 : -1);
    }, {passive: false});
    window.addEventListener('keydown', function (e) {
      if (e.key === 'F11') {
        e.preventDefault();
        toggleFullscreen();
        return;
      }
      if (e.key === 'Escape' && !menu.hidden) {
        closeMenu();
        return;
      }
      var code = e.key.length === 1 ? e.key.charCodeAt(0) : keyCodes[e.key];
      if (code === undefined || code > 1005) return;
      // The game has the key; the browser keeps its shortcuts.
      if (Module._verlomba_key(code, modifiers(e)) && !e.ctrlKey && !e.altKey && !e.metaKey) e.preventDefault();
    });
    document.addEventListener('visibilitychange', function () {
      Module._verlomba_shown(document.hidden ? 0 : 1);
    });
    // Closing or leaving the page hides it first in most browsers; where it
    // does not, the page's end counts as its hiding (the game saves once).
    window.addEventListener('pagehide', function () { Module._verlomba_shown(0); });
    window.addEventListener('pageshow', function () { Module._verlomba_shown(document.hidden ? 0 : 1); });
    document.addEventListener('fullscreenchange', fitFullscreen);
    window.addEventListener('resize', function () { if (fullscreen()) fitFullscreen(); });
    fileInput.addEventListener('change', openCityFile);
    var button = document.getElementById('fullscreen');
    if (button) button.addEventListener('click', toggleFullscreen);
  }

  // A saved file waits in localStorage until IndexedDB has it: a page being
  // closed or reloaded abandons the IndexedDB write it began, but its
  // localStorage is written at once. The next page takes what was left.
  var UNKEPT = 'verlomba-unkept:';
  function unkept() {
    var names = [];
    for (var i = 0; i < localStorage.length; i++) {
      var key = localStorage.key(i);
      if (key.indexOf(UNKEPT) === 0) names.push(key.slice(UNKEPT.length));
    }
    return names;
  }

  // One file of the game's directory into the browser's storage, where the
  // start of the next page finds it (an entry as IDBFS keeps one). Its end,
  // good or bad, is told to the game.
  function keep(name) {
    var path = verlombaPlay + '/' + name;
    var waiting = null;
    function told(error) {
      var problem = error ? String(error.message || error.name || error) : '';
      if (error) console.warn('verlomba: ' + name + ' was not kept:', problem);
      // Never from within the game's call: it goes on as if the write were begun.
      Promise.resolve().then(function () {
        Module.ccall('verlomba_kept', null, ['string', 'number', 'string'], [name, error ? 0 : 1, problem]);
      });
    }
    var entry;
    try {
      var stat = FS.stat(path);
      entry = {timestamp: stat.mtime, mode: stat.mode, contents: FS.readFile(path)};
    } catch (e) {
      return told(e);
    }
    try {
      // Never an older copy left behind where this one does not fit.
      localStorage.removeItem(UNKEPT + name);
      waiting = new TextDecoder().decode(entry.contents);
      localStorage.setItem(UNKEPT + name, waiting);
    } catch (e) {}
    function write(error, db) {
      if (error || !db) return told(error || 'no storage');
      var ended = false;
      function end(error) {
        if (!ended) told(error);
        ended = true;
      }
      try {
        var transaction = db.transaction([IDBFS.DB_STORE_NAME], 'readwrite');
        transaction.oncomplete = function () {
          try {
            if (waiting !== null && localStorage.getItem(UNKEPT + name) === waiting) localStorage.removeItem(UNKEPT + name);
          } catch (e) {}
          end(null);
        };
        // A full storage aborts the write when it commits, without an error event.
        transaction.onabort = function () { end(transaction.error || 'the write was abandoned'); };
        transaction.objectStore(IDBFS.DB_STORE_NAME).put(entry, path);
      } catch (e) {
        end(e);
      }
    }
    // Opened at the start, when the kept files were read.
    if (IDBFS.dbs[verlombaPlay]) return write(null, IDBFS.dbs[verlombaPlay]);
    IDBFS.getDB(verlombaPlay, write);
  }

  function toggleFullscreen() {
    if (fullscreen()) {
      document.exitFullscreen();
    } else if (stage.requestFullscreen) {
      stage.requestFullscreen().catch(function () {});
    }
  }

  return {
    put: function (bytes, width, height) {
      var length = width * height * 4;
      // A view on the module's memory: one copy to the canvas, none here.
      if (!image || imageBuffer !== HEAPU8.buffer || imageBytes !== bytes || image.width !== width ||
          image.height !== height) {
        image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, bytes, length), width, height);
        imageBuffer = HEAPU8.buffer;
        imageBytes = bytes;
      }
      context.putImageData(image, 0, 0);
      window.verlomba.framesPut++;
      if (!window.verlomba.firstFrame) window.verlomba.firstFrame = performance.now();
    },
    setCanvas: function (width, height) {
      if (canvas.width !== width) canvas.width = width;
      if (canvas.height !== height) canvas.height = height;
      // Drawn at the device's pixels, never stretched.
      canvas.style.width = width / ratio + 'px';
      canvas.style.height = height / ratio + 'px';
    },
    setCursor: function (shape) { canvas.style.cursor = cursors[shape] || 'default'; },
    download: function (path, name) {
      if (!FS.analyzePath(path).exists) return;
      var link = document.createElement('a');
      link.href = URL.createObjectURL(new Blob([FS.readFile(path)], {type: 'text/plain'}));
      link.download = name;
      document.body.appendChild(link);
      link.click();
      link.remove();
      setTimeout(function () { URL.revokeObjectURL(link.href); }, 1000);
    },
    keep: keep,
    // Before the game starts: the files the last page could not keep, newer
    // than the kept ones.
    takeUnkept: function () {
      unkept().forEach(function (name) {
        try { FS.writeFile(name, localStorage.getItem(UNKEPT + name)); } catch (e) {}
      });
    },
    toggleFullscreen: toggleFullscreen,
    // The page's room for the canvas, in CSS pixels.
    room: function () {
      var note = document.getElementById('note');
      return {width: window.innerWidth - 16, height: window.innerHeight - 16 - (note ? note.offsetHeight : 0)};
    },
    start: function () {
      started = true;
      listen();
      unkept().forEach(keep);
    },
  };
})();

window.verlomba = {
  fps: function () { return Module._verlomba_fps ? Module._verlomba_fps() : 0; },
  // The mean milliseconds of a frame (tick, drawing, showing) over the last whole second.
  frameMilliseconds: function () { return Module._verlomba_frame_ms ? Module._verlomba_frame_ms() : 0; },
  // When the first picture was put on the canvas (performance.now(): from
  // the page's start), and how many have been since, for measuring.
  firstFrame: 0,
  framesPut: 0,
};

Module['canvas'] = document.getElementById('canvas');
Module['preRun'] = [function () {
  // The game plays in a directory the browser keeps (IndexedDB): the saved
  // city outlives the page. The host's files are fetched afresh each time.
  FS.mkdir(verlombaPlay);
  FS.mount(IDBFS, {}, verlombaPlay);
  FS.chdir(verlombaPlay);
  addRunDependency('verlomba-files');
  FS.syncfs(true, function () {
    Promise.all(verlombaFetches).then(function (files) {
      verlombaHostFiles.forEach(function (name, i) {
        try { FS.unlink(name); } catch (e) {}
        if (files[i]) FS.writeFile(name, new Uint8Array(files[i]));
      });
      verlombaPage.takeUnkept();
      removeRunDependency('verlomba-files');
    });
  });
}];
Module['postRun'] = [function () { verlombaPage.start(); }];
