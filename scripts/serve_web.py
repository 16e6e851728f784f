#!/usr/bin/env python3
"""Serves the browser build's folder (make serve-web).

    serve_web.py FOLDER [PORT]

At http://127.0.0.1:PORT/ (8080 by default), with the types the page needs
(application/wasm for the module, which the browser compiles as it loads)
and no caching, so that a new build shows on reload.
"""
import functools
import http.server
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".wasm": "application/wasm",
        ".js": "text/javascript",
        ".html": "text/html; charset=utf-8",
        ".ini": "text/plain; charset=utf-8",
        ".txt": "text/plain; charset=utf-8",
    }

    def end_headers(self):
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()

    def log_message(self, *args):
        pass


def serve(folder, port, ready=None):
    """Serves until interrupted; ready, if given, is called with the server."""
    handler = functools.partial(Handler, directory=folder)
    with http.server.ThreadingHTTPServer(("127.0.0.1", port), handler) as server:
        if ready:
            ready(server)
        server.serve_forever()


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    port = int(sys.argv[2]) if len(sys.argv) == 3 else 8080
    print(f"Serving {sys.argv[1]} at http://127.0.0.1:{port}/ (Ctrl-C stops)", flush=True)
    try:
        serve(sys.argv[1], port)
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
