"""A local static web server for the browser tests: serves the web build's folder on a free port
of 127.0.0.1, with files the test lays beside the page (an Ombra.mp3) or hides from it."""
import http.server
import os
import threading

# Types the browser insists on (WebAssembly streaming compilation wants application/wasm).
CONTENT_TYPES = {".wasm": "application/wasm", ".js": "text/javascript", ".mp3": "audio/mpeg"}


class PageServer:
    """Serves `folder`; `overlay` maps a file name at the top to its bytes, or to None for a file
    that is answered 404 whether or not the folder holds it."""

    def __init__(self, folder, overlay=None):
        self.folder = os.path.abspath(folder)
        self.overlay = dict(overlay or {})
        self.requests = []  # paths asked for, in order
        handler = self._handler_class()
        self._server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.port = self._server.server_address[1]
        self._thread = threading.Thread(target=self._server.serve_forever, daemon=True)
        self._thread.start()

    def url(self, path=""):
        return "http://127.0.0.1:%d/%s" % (self.port, path)

    def close(self):
        self._server.shutdown()
        self._server.server_close()
        self._thread.join()

    def _handler_class(self):
        server = self

        class Handler(http.server.SimpleHTTPRequestHandler):
            def __init__(self, *args, **kwargs):
                super().__init__(*args, directory=server.folder, **kwargs)

            def do_GET(self):
                name = self.path.split("?", 1)[0].lstrip("/")
                server.requests.append(name)
                if name in server.overlay:
                    self._send_overlay(server.overlay[name], name)
                elif name == "favicon.ico" and not os.path.exists(self.translate_path(self.path)):
                    # The browser asks for an icon of its own accord; a page without one
                    # answers nothing rather than an error the page never caused.
                    self.send_response(204)
                    self.end_headers()
                else:
                    super().do_GET()

            def _send_overlay(self, body, name):
                if body is None:
                    self.send_error(404)
                    return
                self.send_response(200)
                self.send_header("Content-Type", self.guess_type(name))
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def guess_type(self, path):
                extension = os.path.splitext(path)[1]
                return CONTENT_TYPES.get(extension) or super().guess_type(path)

            def end_headers(self):
                # Every test starts from a fresh profile, but a page reloaded within one must
                # fetch Ombra.mp3 again rather than remember its absence.
                self.send_header("Cache-Control", "no-store")
                super().end_headers()

            def log_message(self, *args):
                pass

        return Handler
