#!/usr/bin/env python3
"""HTTP/1.1 test server on 127.0.0.1 whose misbehaviour is chosen by the path.

  /file/SIZE                       200 with Content-Length and SIZE pattern bytes
  /status/CODE/SIZE                that status, otherwise like /file
  /redirect/SIZE                   302 to /file/SIZE
  /chunked/SIZE                    chunked body, no Content-Length
  /close/SIZE                      body delimited by closing, no Content-Length
  /short/LENGTH/SENT               Content-Length LENGTH, SENT bytes, then close
  /chunked-length/LENGTH/SENT[/SEED[/stall]]
                                   Content-Length LENGTH with a chunked body of
                                   SENT bytes; "stall" waits for /_release
                                   before the last chunk
  /length/TEXT/SENT                Content-Length: TEXT, SENT bytes, then close
  /slow/SIZE/MS                    1024 bytes every MS milliseconds
  /throttle/SIZE/FAST/MS           FAST bytes at once, then 1024 bytes every MS
                                   milliseconds
  /resume/MODE/SIZE/CUT/KEY        SIZE bytes offered in byte ranges; the first
                                   request for KEY breaks off after CUT bytes.
                                   A range request whose If-Range holds the
                                   validator gets the rest (206); MODE changes
                                   that: etag (a strong ETag), dated
                                   (Last-Modified only), weak (a weak ETag),
                                   none (no Accept-Ranges), republished (ETag
                                   and body change after the first request),
                                   ignored (always 200), bad-range (206 with
                                   another total), 416, weak-dated (a weak
                                   ETag and Last-Modified), shrunk (ETag
                                   changes and SIZE halves after the first
                                   request)
  /drops/MODE/SIZE/EVERY/KEY       SIZE bytes offered in byte ranges with a
                                   strong ETag; every answer breaks off after
                                   EVERY bytes of its body. MODE vanish: every
                                   request for KEY after the first is closed
                                   without an answer
  /stall/SIZE/BEFORE               BEFORE bytes, then waits for /_release
  /late/SIZE/MS                     headers after MS milliseconds, the body MS
                                   milliseconds later
  /silent                          reads the request, then waits for /_release
                                   before closing without an answer
  /cacheable/SIZE/KEY              200 that any cache may keep for a day; the
                                   body shifts by one byte with each request
                                   for the same KEY
  /served/NAME                     200 with the bytes of NAME in the folder
                                   given by --served (a plain file name only)
  /_release                        lets stalled bodies go on
  /_stalled                        how many answers are held back right now
  /_abandoned                      how many answers the client went away from
  /_log                            the requests so far (then forgotten), a line
                                   each: port, method, path, agent, Range,
                                   If-Range, the bytes sent so far,
                                   Cache-Control and Pragma, tab-separated

127.0.0.3 port 80 accepts no connection at all: its backlog is full, so a
connect there waits until the client gives up.

Pattern byte i is i % 251, so a shifted, lost or repeated 1024-byte piece shows.
Further path segments are ignored, so callers can make paths unique.

  http_fault_server.py [--served FOLDER] run -- COMMAND...
                                           serve while COMMAND runs, exit with its code
  http_fault_server.py [--served FOLDER] serve
                                           serve until interrupted
"""

import argparse
import http.server
import os
import random
import socket
import subprocess
import sys
import threading
import time

# 8080 only shows requests that should have gone to 80; 443 and 21 show any
# connection at all, as one for an https or ftp URL, which is never made.
UNWANTED_PORTS = (443, 21)
PORTS = (80, 8080) + UNWANTED_PORTS
SILENT_HOST = "127.0.0.3"
PATTERN = bytes(i % 251 for i in range(251)) * 1024

log_lock = threading.Lock()
request_log = []
SENT = 6  # the field of a request's record that counts the bytes sent
release = threading.Event()
stalled = 0  # answers waiting for /_release, under log_lock
abandoned = 0  # answers the client went away from, under log_lock
cacheable_counts = {}  # requests per /cacheable key, under log_lock
resume_counts = {}  # requests per /resume key, under log_lock
served_folder = ""  # --served
RESUME_DATE = "Mon, 07 Dec 2026 12:00:00 GMT"


def pattern(offset, size):
    start = offset % 251
    return PATTERN[start:start + size]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def handle(self):
        port = self.server.server_address[1]
        if port in UNWANTED_PORTS:  # a TLS or FTP client sends no request line
            with log_lock:
                request_log.append([port, "CONNECT", "", "", "", "", 0, "", ""])
        super().handle()

    def do_GET(self):
        global abandoned
        parts = self.path.split("?")[0].strip("/").split("/")
        mode, args = parts[0], parts[1:]
        self.record = None
        if not mode.startswith("_"):
            self.record = [self.server.server_address[1], self.command, self.path,
                           self.headers.get("User-Agent", ""), self.headers.get("Range", ""),
                           self.headers.get("If-Range", ""), 0,
                           self.headers.get("Cache-Control", ""), self.headers.get("Pragma", "")]
            with log_lock:
                request_log.append(self.record)
        self.close_connection = True
        try:
            getattr(self, "mode_" + mode.replace("-", "_").lstrip("_"), self.mode_unknown)(*args)
        except (ConnectionError, TimeoutError):
            with log_lock:
                abandoned += 1

    def send(self, data):
        self.wfile.write(data)
        self.wfile.flush()
        if self.record:
            with log_lock:
                self.record[SENT] += len(data)

    def head(self, status, headers, cache="no-store"):
        lines = ["HTTP/1.1 %s" % status] + ["%s: %s" % h for h in headers]
        lines += ["Cache-Control: " + cache, "Connection: close", "", ""]
        self.send("\r\n".join(lines).encode("latin-1"))

    def body(self, size, offset=0, piece=1 << 16, delay=0.0):
        while size > 0:
            n = min(piece, size)
            self.send(pattern(offset, n))
            offset, size = offset + n, size - n
            if delay and size:
                time.sleep(delay)

    def mode_unknown(self, *args):
        self.mode_status("400", "0")

    def mode_file(self, size, *rest):
        self.mode_status("200", size)

    def mode_status(self, code, size, *rest):
        self.head("%s Test" % code, [("Content-Length", size)])
        self.body(int(size))

    def mode_served(self, name, *rest):
        path = os.path.join(served_folder, name)
        if not served_folder or name != os.path.basename(name) or not os.path.isfile(path):
            self.mode_status("404", "0")
            return
        with open(path, "rb") as f:
            data = f.read()
        self.head("200 OK", [("Content-Length", str(len(data)))])
        self.send(data)

    def mode_redirect(self, size, *rest):
        self.head("302 Found", [("Location", "/file/%s" % size), ("Content-Length", "0")])

    def mode_chunked(self, size, *rest):
        self.head("200 OK", [("Transfer-Encoding", "chunked")])
        self.chunks(int(size), random.Random(0))

    def mode_close(self, size, *rest):
        self.head("200 OK", [])
        self.body(int(size))

    def mode_short(self, length, sent, *rest):
        self.head("200 OK", [("Content-Length", length)])
        self.body(int(sent))

    def mode_length(self, text, sent, *rest):
        self.mode_short(text, sent)

    def mode_chunked_length(self, length, sent, seed="0", then="end", *rest):
        release.clear()
        self.head("200 OK", [("Content-Length", length), ("Transfer-Encoding", "chunked")])
        self.chunks(int(sent), random.Random(int(seed)), stall=then == "stall")

    def chunks(self, size, rng, stall=False):
        offset = 0
        while offset < size:
            n = min(size - offset, rng.randint(1, 5000))
            self.send(b"%x\r\n%s\r\n" % (n, pattern(offset, n)))
            offset += n
        if stall:
            release.wait(120)
        self.send(b"0\r\n\r\n")

    def mode_slow(self, size, ms, *rest):
        self.head("200 OK", [("Content-Length", size)])
        self.body(int(size), piece=1024, delay=int(ms) / 1000.0)

    def mode_throttle(self, size, fast, ms, *rest):
        size, fast = int(size), int(fast)
        self.head("200 OK", [("Content-Length", str(size))])
        self.body(fast)
        self.body(size - fast, offset=fast, piece=1024, delay=int(ms) / 1000.0)

    def mode_resume(self, mode, size, cut, key, *rest):
        size, cut = int(size), int(cut)
        with log_lock:
            count = resume_counts.get(key, 0)
            resume_counts[key] = count + 1
        shift = 1 if mode == "republished" and count else 0
        tag = '"%s-%d"' % (key, shift)
        if mode == "shrunk" and count:  # republished shorter than the kept part
            size, tag = size // 2, '"%s-1"' % key
        headers = [] if mode == "none" else [("Accept-Ranges", "bytes")]
        if mode in ("dated", "weak-dated"):
            headers.append(("Last-Modified", RESUME_DATE))
        if mode != "dated":
            headers.append(("ETag", "W/" + tag if mode in ("weak", "weak-dated") else tag))
        wanted = self.headers.get("Range", "")
        validator = RESUME_DATE if mode in ("dated", "weak-dated") else tag
        start = 0
        if wanted and mode == "416":
            self.head("416 Range Not Satisfiable",
                      [("Content-Range", "bytes */%d" % size), ("Content-Length", "0")])
            return
        if (mode != "ignored" and wanted.startswith("bytes=") and wanted.endswith("-")
                and self.headers.get("If-Range") == validator):
            start = int(wanted[len("bytes="):-1])
        if start:
            total = size + 1 if mode == "bad-range" else size
            self.head("206 Partial Content", headers + [
                ("Content-Range", "bytes %d-%d/%d" % (start, size - 1, total)),
                ("Content-Length", str(size - start))])
            self.body(size - start, offset=start)
            return
        self.head("200 OK", headers + [("Content-Length", str(size))])
        self.body(size if count else cut, offset=shift)

    def mode_drops(self, mode, size, every, key, *rest):
        size, every = int(size), int(every)
        with log_lock:
            count = resume_counts.get(key, 0)
            resume_counts[key] = count + 1
        if mode == "vanish" and count:
            return
        tag = '"%s"' % key
        wanted = self.headers.get("Range", "")
        start = 0
        if (wanted.startswith("bytes=") and wanted.endswith("-")
                and self.headers.get("If-Range") == tag):
            start = int(wanted[len("bytes="):-1])
        headers = [("Accept-Ranges", "bytes"), ("ETag", tag), ("Content-Length", str(size - start))]
        if start:
            headers.append(("Content-Range", "bytes %d-%d/%d" % (start, size - 1, size)))
        self.head("206 Partial Content" if start else "200 OK", headers)
        self.body(min(every, size - start), offset=start)

    def hold(self):
        global stalled
        with log_lock:
            stalled += 1
        try:
            release.wait(120)
        finally:
            with log_lock:
                stalled -= 1

    def mode_stall(self, size, before, *rest):
        release.clear()
        self.head("200 OK", [("Content-Length", size)])
        self.body(int(before))
        self.hold()
        self.body(int(size) - int(before), offset=int(before))

    def mode_late(self, size, ms, *rest):
        time.sleep(int(ms) / 1000.0)
        self.head("200 OK", [("Content-Length", size)])
        time.sleep(int(ms) / 1000.0)
        self.body(int(size))

    def mode_silent(self, *rest):
        release.clear()
        self.hold()

    def mode_cacheable(self, size, key, *rest):
        with log_lock:
            shift = cacheable_counts.get(key, 0)
            cacheable_counts[key] = shift + 1
        self.head("200 OK", [("Content-Length", size),
                             ("Last-Modified", "Mon, 07 Dec 2026 12:00:00 GMT")],
                  cache="public, max-age=86400")
        self.body(int(size), offset=shift)

    def mode_stalled(self, *rest):
        with log_lock:
            text = str(stalled).encode("ascii")
        self.head("200 OK", [("Content-Length", str(len(text)))])
        self.wfile.write(text)

    def mode_abandoned(self, *rest):
        with log_lock:
            text = str(abandoned).encode("ascii")
        self.head("200 OK", [("Content-Length", str(len(text)))])
        self.wfile.write(text)

    def mode_release(self, *rest):
        release.set()
        self.head("200 OK", [("Content-Length", "0")])

    def mode_log(self, *rest):
        with log_lock:
            text = "".join("\t".join(map(str, record)) + "\n"
                           for record in request_log).encode("utf-8")
            request_log.clear()
        self.head("200 OK", [("Content-Length", str(len(text)))])
        self.wfile.write(text)


def start_silent_listener():
    """A listening socket whose backlog a connection of its own fills."""
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind((SILENT_HOST, 80))
    listener.listen(0)
    fillers = []
    for _ in range(2):  # the kernel queues one more than the backlog
        filler = socket.socket()
        filler.settimeout(1)
        try:
            filler.connect((SILENT_HOST, 80))
        except OSError:
            filler.close()
            break
        fillers.append(filler)
    return [listener] + fillers


def start_servers():
    servers = []
    for port in PORTS:
        server = http.server.ThreadingHTTPServer(("127.0.0.1", port), Handler)
        server.daemon_threads = True
        threading.Thread(target=server.serve_forever, daemon=True).start()
        servers.append(server)
    return servers


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("action", choices=("run", "serve"))
    parser.add_argument("--served", default="", help="the folder /served/NAME reads from")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    options = parser.parse_args()
    global served_folder
    served_folder = options.served
    servers = start_servers()
    silent = start_silent_listener()
    try:
        if options.action == "serve":
            threading.Event().wait()
        command = options.command[1:] if options.command[:1] == ["--"] else options.command
        return subprocess.call(command)
    except KeyboardInterrupt:
        return 130
    finally:
        release.set()
        for server in servers:
            server.shutdown()
            server.server_close()
        for sock in silent:
            sock.close()


if __name__ == "__main__":
    sys.exit(main())
