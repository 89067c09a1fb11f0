#!/usr/bin/env python3
"""Takes real RFC 3161 timestamps from a local timestamp server (openssl ts
behind an HTTP handler on 127.0.0.1, in this process, signing with the test
authority's timestamping certificate) and checks the signatures as of a day
after the signing certificate has expired: a timestamped program and sample
package verify, their timestamp chaining to the test root; a program signed
without a timestamp fails, and so does a timestamp checked without that root.

Then each way a server can fail (refused connection, HTTP error, request
rejected, no answer in time) must fail the signing with one line naming the
server and the reason, leaving no file.

Usage: check_timestamps.py CODESIGN.py SIGNING_DIR PROGRAM PACKAGE
"""
import glob
import http.server
import json
import os
import shutil
import socket
import ssl
import subprocess
import sys
import tempfile
import threading

from signing_support import FAILED, PASSED, codesign, signing_environment, verify

# The digests the server accepts at each path: SHA-256 requests only at "/".
DIGESTS_AT = {"/": "sha256", "/sha512": "sha512"}
TSA_CONFIG = """[tsa]
default_tsa = local
[local]
serial = %s
digests = %s
signer_digest = sha256
ess_cert_id_alg = sha256
default_policy = 1.2.3.4.1
"""
DAY_SECONDS = 24 * 3600
# Short, so that the server that never answers takes seconds.
SILENT_TIMEOUT = "2"


class TimestampHandler(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        """openssl's reply at a path of server.configs, elsewhere 503 Service Unavailable."""
        query = self.rfile.read(int(self.headers.get("Content-Length", "0")))
        config = self.server.configs.get(self.path)
        reply = b"" if config is None else subprocess.run(
            ["openssl", "ts", "-reply", "-queryfile", "/dev/stdin", "-config", config, "-signer",
             self.server.tsa, "-inkey", self.server.tsa_key], input=query, capture_output=True,
            check=True).stdout
        self.send_response(200 if config else 503)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        if reply:
            self.wfile.write(reply)

    def log_message(self, *args):
        pass


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    script, signing_dir, program, package = sys.argv[1:]
    with tempfile.TemporaryDirectory() as work:
        # The build's test authority (made afresh when the build signs with a vendor's).
        folder = os.path.join(work, "signing")
        shutil.copytree(signing_dir, folder)
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), TimestampHandler)
        server.tsa, server.tsa_key = (os.path.join(folder, name)
                                      for name in ("test-tsa.crt", "test-tsa.key"))
        server.configs = {path: os.path.join(work, digests + ".cnf")
                          for path, digests in DIGESTS_AT.items()}
        for path, digests in DIGESTS_AT.items():
            with open(server.configs[path], "w") as f:
                f.write(TSA_CONFIG % (os.path.join(work, "serial"), digests))
        with open(os.path.join(work, "serial"), "w") as f:
            f.write("01\n")
        threading.Thread(target=server.serve_forever, daemon=True).start()
        # Bound but not listening, connections are refused; listening but never accepting,
        # requests get no answer.
        closed, silent = socket.socket(), socket.create_server(("127.0.0.1", 0))
        closed.bind(("127.0.0.1", 0))
        try:
            url = "http://127.0.0.1:%d" % server.server_address[1]
            return check(script, folder, program, package, url, *(
                "http://127.0.0.1:%d/" % s.getsockname()[1] for s in (closed, silent)))
        finally:
            server.shutdown()
            server.server_close()
            closed.close()
            silent.close()


def sign(script, folder, source, output, **env):
    codesign(script, signing_environment(**env), "identity", folder)
    return subprocess.run([sys.executable, script, "sign", folder, source, output],
                          env=signing_environment(), capture_output=True, text=True)


def check(script, folder, program, package, url, closed, silent):
    copies = {}
    for name, source, server in (("plain.exe", program, ""), ("stamped.exe", program, url + "/"),
                                 ("stamped.msi", package, url + "/")):
        copies[name] = os.path.join(folder, name)
        result = sign(script, folder, source, copies[name], SIGN_TIMESTAMP_URL=server)
        if result.returncode != 0:
            sys.exit("signing %s failed:\n%s" % (name, result.stderr))
    with open(os.path.join(folder, "identity.json")) as f:
        identity = json.load(f)
    expiry = subprocess.run(["openssl", "x509", "-enddate", "-noout", "-in", identity["certs"]],
                            capture_output=True, text=True, check=True).stdout.split("=", 1)[1]
    later = str(int(ssl.cert_time_to_seconds(expiry.strip())) + DAY_SECONDS)
    failures = 0
    # name, file, the timestamp's trusted roots, expected outcome a day after expiry
    for name, path, tsa_roots, expected in (
            ("program, timestamped", copies["stamped.exe"], identity["root"], PASSED),
            ("sample package, timestamped", copies["stamped.msi"], identity["root"], PASSED),
            ("program, not timestamped", copies["plain.exe"], identity["root"], FAILED),
            ("program, timestamp checked without the test root", copies["stamped.exe"],
             identity["certs"], FAILED)):
        outcome, output = verify(path, identity["root"], identity["signer_sha256"],
                                 "-TSA-CAfile", tsa_roots, "-time", later)
        print("%-50s %s" % (name, outcome))
        if outcome != expected:
            failures += 1
            print("  expected it to be %s; osslsigncode said:\n%s" % (expected, output))
    # name, server, what the line must say, timeout
    for name, server, reason, timeout in (
            ("refused connection", closed, "Connection refused", ""),
            ("HTTP error", url + "/busy", "code=503", ""),
            ("request rejected", url + "/sha512", "refused it, status 2", ""),
            ("no answer", silent, "no answer within " + SILENT_TIMEOUT, SILENT_TIMEOUT)):
        result = sign(script, folder, program, os.path.join(folder, "failed.exe"),
                      SIGN_TIMESTAMP_URL=server, SIGN_TIMESTAMP_TIMEOUT=timeout)
        lines = result.stderr.splitlines()
        sound = (result.returncode != 0 and len(lines) == 1 and server in lines[0]
                 and reason in lines[0] and not glob.glob(os.path.join(folder, "failed.exe*")))
        print("%-50s %s" % ("server: " + name, "fails the signing" if sound else "WRONG"))
        if not sound:
            failures += 1
            print("  expected one line naming %s and '%s', no file; got:\n%s"
                  % (server, reason, result.stderr))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
