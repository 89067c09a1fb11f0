#!/usr/bin/env python3
"""Serves a folder on 127.0.0.1:80, sending each file over about SECONDS.

A local download otherwise ends before anyone (or a screenshot) sees the
progress bar move; the demo paces its package with this.

  paced_http_server.py FOLDER SECONDS
"""

import functools
import http.server
import os
import sys
import time

PIECES = 50


class PacedHandler(http.server.SimpleHTTPRequestHandler):
    seconds = 0.0

    def log_message(self, *args):
        pass

    def copyfile(self, source, outputfile):
        size = os.fstat(source.fileno()).st_size
        piece = max(1, -(-size // PIECES))
        while True:
            data = source.read(piece)
            if not data:
                return
            outputfile.write(data)
            outputfile.flush()
            time.sleep(self.seconds / PIECES)


def main():
    folder, seconds = sys.argv[1], float(sys.argv[2])
    PacedHandler.seconds = seconds
    handler = functools.partial(PacedHandler, directory=folder)
    http.server.ThreadingHTTPServer(("127.0.0.1", 80), handler).serve_forever()


if __name__ == "__main__":
    main()
