#!/usr/bin/env python3
"""Serves the web page (build/web, made by `make web`) on 127.0.0.1 for local
use, with the headers that isolate it from other origins (Cross-Origin-Opener-
Policy and Cross-Origin-Embedder-Policy), as a host that allows threads would;
with --plain, without them, as any static host serves it.

    web/serve.py [SITE_DIR] [--port PORT] [--plain]   (default build/web, port 8788)
"""
import argparse
import functools
import http.server


class IsolatedHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript",
                      ".svg": "image/svg+xml"}

    isolated = True

    def end_headers(self):
        if self.isolated:
            self.send_header("Cross-Origin-Opener-Policy", "same-origin")
            self.send_header("Cross-Origin-Embedder-Policy", "require-corp")
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()

    def log_message(self, *args):
        pass  # a local server: its log would only hide the address printed


def main():
    parser = argparse.ArgumentParser(description="Serve Kaldra's web page on 127.0.0.1.")
    parser.add_argument("site", nargs="?", default="build/web")
    parser.add_argument("--port", type=int, default=8788)
    parser.add_argument("--plain", action="store_true", help="without the isolating headers")
    args = parser.parse_args()
    IsolatedHandler.isolated = not args.plain
    handler = functools.partial(IsolatedHandler, directory=args.site)
    with http.server.ThreadingHTTPServer(("127.0.0.1", args.port), handler) as server:
        print(f"Kaldra: http://127.0.0.1:{server.server_address[1]}/ (Ctrl+C stops)", flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass


if __name__ == "__main__":
    main()
