#!/usr/bin/env python3
"""Signs the shipped files with an Authenticode signature (osslsigncode, SHA-256).

What signs them is decided once per build and recorded in
SIGNING_DIR/identity.json:

- a vendor's certificate when SIGN_PFX names its PFX file; SIGN_PASSWORD_FILE
  names a file holding the password, which osslsigncode and openssl read from
  there, so it is never on a command line nor in any output;
- otherwise the build folder's own test certificate authority, with a
  code-signing certificate and a timestamping certificate (for a local
  timestamp server in tests), made with openssl when missing or about to
  expire. Its root is SIGNING_DIR/test-root.crt (PEM); the root's key is
  discarded once both certificates are issued.

SIGN_TIMESTAMP_URL, when set, names an RFC 3161 timestamp server: every file
gets its SHA-256 timestamp right after it is signed, so that the signatures
stay valid after the certificate expires. SIGN_TIMESTAMP_TIMEOUT (seconds,
TIMESTAMP_TIMEOUT_SECONDS when unset) bounds the wait for each answer.

There is no unsigned or untimestamped fallback: a file that cannot be signed
or timestamped fails the build with one line saying why, and a program
signed in place is deleted rather than left unsigned.

Usage:
  codesign.py identity SIGNING_DIR
      Reads the environment and rewrites identity.json only when the
      identity changed, so what depends on it is signed again exactly then.
  codesign.py sign SIGNING_DIR FILE [OUTPUT]
      Signs FILE in place, or into OUTPUT, with the recorded identity.
"""
import base64
import hashlib
import json
import os
import re
import subprocess
import sys
import tempfile

DIGEST = "sha256"
KEY_TYPE = "rsa:3072"
ROOT_SUBJECT = "/O=Vantrel/CN=Vantrel Test Root"
SIGNER_SUBJECT = "/O=Vantrel/CN=Vantrel Test Code Signing"
ROOT_DAYS = 3650
SIGNER_DAYS = 1095
TSA_SUBJECT = "/O=Vantrel/CN=Vantrel Test Timestamping"
# Like a real timestamping authority's, it outlives the signing certificate,
# so that a timestamp can be checked after the signer has expired.
TSA_DAYS = ROOT_DAYS
# A build never starts with a signing certificate that expires within a month.
RENEW_BEFORE_SECONDS = 30 * 24 * 3600

IDENTITY = "identity.json"
TEST_ROOT = "test-root.crt"
TEST_SIGNER = "test-signer.crt"
TEST_SIGNER_KEY = "test-signer.key"
TEST_TSA = "test-tsa.crt"
TEST_TSA_KEY = "test-tsa.key"
# The moves end with the root: a folder without it is made again.
TEST_FILES = (TEST_TSA_KEY, TEST_TSA, TEST_SIGNER_KEY, TEST_SIGNER, TEST_ROOT)

ROOT_EXTENSIONS = ["basicConstraints=critical,CA:TRUE", "keyUsage=critical,keyCertSign,cRLSign"]
SIGNER_EXTENSIONS = ["basicConstraints=critical,CA:FALSE", "keyUsage=critical,digitalSignature",
                     "extendedKeyUsage=codeSigning"]
# RFC 3161 asks for timeStamping as the only extended key usage, critical.
TSA_EXTENSIONS = ["basicConstraints=critical,CA:FALSE", "keyUsage=critical,digitalSignature",
                  "extendedKeyUsage=critical,timeStamping"]
# Key, certificate, subject, days, extensions.
ISSUED_BY_TEST_ROOT = (
    (TEST_SIGNER_KEY, TEST_SIGNER, SIGNER_SUBJECT, SIGNER_DAYS, SIGNER_EXTENSIONS),
    (TEST_TSA_KEY, TEST_TSA, TSA_SUBJECT, TSA_DAYS, TSA_EXTENSIONS),
)

# osslsigncode waits for a timestamp server without a limit; this bounds it.
TIMESTAMP_TIMEOUT_SECONDS = 60
# The server's refusal, printed by osslsigncode with the server's words on the
# next line.
TIMESTAMP_REFUSED = "Timestamping failed: "
# An OpenSSL error line: ID:error:CODE:LIBRARY:FUNCTION:REASON:FILE:LINE:DATA.
OPENSSL_ERROR = re.compile(r"^[0-9A-Fa-f]+:error:[0-9A-Fa-f]+:[^:]*:[^:]*:([^:]+):[^:]*:\d+:(.*)$")


class SigningError(Exception):
    pass


def run(args):
    result = subprocess.run(args, capture_output=True, text=True)
    if result.returncode != 0:
        raise SigningError("%s failed:\n%s%s" % (args[0], result.stdout, result.stderr))
    return result.stdout


def certificate_sha256(pem):
    """SHA-256 of the first certificate of a PEM text (what -require-leaf-hash compares)."""
    begin, end = "-----BEGIN CERTIFICATE-----", "-----END CERTIFICATE-----"
    start = pem.find(begin)
    if start < 0:
        raise SigningError("no certificate found")
    body = pem[start + len(begin):pem.index(end, start)]
    return hashlib.sha256(base64.b64decode("".join(body.split()))).hexdigest()


def new_certificate(key, cert, subject, days, extensions, issuer=()):
    args = ["openssl", "req", "-x509", "-newkey", KEY_TYPE, "-noenc", "-" + DIGEST,
            "-keyout", key, "-out", cert, "-days", str(days), "-subj", subject]
    for extension in extensions:
        args += ["-addext", extension]
    run(args + list(issuer))


def make_test_authority(folder):
    with tempfile.TemporaryDirectory(dir=folder) as work:
        root_key = os.path.join(work, "root.key")
        root = os.path.join(work, TEST_ROOT)
        new_certificate(root_key, root, ROOT_SUBJECT, ROOT_DAYS, ROOT_EXTENSIONS)
        for key_name, cert_name, subject, days, extensions in ISSUED_BY_TEST_ROOT:
            key = os.path.join(work, key_name)
            new_certificate(key, os.path.join(work, cert_name), subject, days, extensions,
                            ["-CA", root, "-CAkey", root_key])
            os.chmod(key, 0o600)
        for name in TEST_FILES:
            os.replace(os.path.join(work, name), os.path.join(folder, name))


def expires_soon(cert):
    return subprocess.run(["openssl", "x509", "-checkend", str(RENEW_BEFORE_SECONDS), "-noout",
                           "-in", cert], capture_output=True).returncode != 0


def test_identity(folder):
    signer = os.path.join(folder, TEST_SIGNER)
    paths = [os.path.join(folder, name) for name in TEST_FILES]
    if not all(map(os.path.isfile, paths)) or expires_soon(signer):
        print("making the test certificate authority in %s" % folder)
        make_test_authority(folder)
    with open(signer) as f:
        signer_sha256 = certificate_sha256(f.read())
    return {"certs": signer, "key": os.path.join(folder, TEST_SIGNER_KEY),
            "root": os.path.join(folder, TEST_ROOT), "signer_sha256": signer_sha256}


def vendor_identity(pfx):
    password_file = os.environ.get("SIGN_PASSWORD_FILE", "")
    if not password_file:
        raise SigningError("SIGN_PFX is set but SIGN_PASSWORD_FILE is not")
    for path in (pfx, password_file):
        if not os.path.isfile(path):
            raise SigningError("%s: no such file" % path)
    # -legacy also opens the older PFX encryption that Windows exports.
    pem = run(["openssl", "pkcs12", "-legacy", "-in", pfx, "-passin", "file:" + password_file,
               "-nokeys", "-clcerts"])
    # The signature is checked against the system's roots (root None).
    return {"pfx": os.path.abspath(pfx), "password_file": os.path.abspath(password_file),
            "root": None, "signer_sha256": certificate_sha256(pem)}


def identity(folder):
    folder = os.path.abspath(folder)
    os.makedirs(folder, exist_ok=True)
    pfx = os.environ.get("SIGN_PFX", "")
    chosen = vendor_identity(pfx) if pfx else test_identity(folder)
    chosen["timestamp_url"] = os.environ.get("SIGN_TIMESTAMP_URL") or None
    if chosen["timestamp_url"]:
        chosen["timestamp_timeout"] = timestamp_timeout()
    text = json.dumps(chosen, indent=2, sort_keys=True) + "\n"
    path = os.path.join(folder, IDENTITY)
    try:
        with open(path) as f:
            if f.read() == text:
                return
    except FileNotFoundError:
        pass
    with open(path + ".new", "w") as f:
        f.write(text)
    os.replace(path + ".new", path)
    print("signing with %s" % (chosen.get("pfx") or chosen["certs"]))


def timestamp_timeout():
    value = os.environ.get("SIGN_TIMESTAMP_TIMEOUT", "")
    if not value:
        return TIMESTAMP_TIMEOUT_SECONDS
    if not value.isdigit() or int(value) == 0:
        raise SigningError("SIGN_TIMESTAMP_TIMEOUT is %r, not a number of seconds" % value)
    return int(value)


def signing_arguments(chosen):
    args = ["osslsigncode", "sign", "-h", DIGEST]
    if "pfx" in chosen:
        args += ["-pkcs12", chosen["pfx"], "-readpass", chosen["password_file"]]
    else:
        args += ["-certs", chosen["certs"], "-key", chosen["key"]]
    return args


def timestamp_failure_reason(output):
    """What osslsigncode names as the cause: the server's refusal with its
    words, else the first OpenSSL error (the later ones say where it surfaced)."""
    lines = [line.strip() for line in output.splitlines()]
    for i, line in enumerate(lines):
        if line.startswith(TIMESTAMP_REFUSED):
            return ": ".join(["the server refused it, " + line[len(TIMESTAMP_REFUSED):]]
                             + [words for words in lines[i + 1:i + 2] if words])
    for line in lines:
        match = OPENSSL_ERROR.match(line)
        if match:
            reason, data = match.group(1), match.group(2).strip()
            return "%s (%s)" % (reason, data) if data else reason
    return next((line for line in reversed(lines) if line), "osslsigncode printed nothing")


def timestamp(chosen, signed, output, name):
    """Adds the server's RFC 3161 timestamp to the signature of SIGNED, apart
    from signing, so that any failure here is the timestamp's."""
    url, seconds = chosen["timestamp_url"], chosen["timestamp_timeout"]
    args = ["osslsigncode", "add", "-h", DIGEST, "-ts", url, "-in", signed, "-out", output]
    try:
        result = subprocess.run(args, capture_output=True, text=True, timeout=seconds)
        if result.returncode == 0:
            return
        reason = timestamp_failure_reason(result.stdout + "\n" + result.stderr)
    except subprocess.TimeoutExpired:
        reason = "no answer within %d seconds" % seconds
    raise SigningError("timestamp server %s failed for %s: %s" % (url, name, reason))


def sign(folder, source, output):
    partial, stamped = output + ".signing", output + ".stamping"
    # What is left when signing fails: nothing, not even the unsigned program
    # when it was to be signed in place, so that the next build links it again.
    leftovers = [partial, stamped]
    if os.path.abspath(output) == os.path.abspath(source):
        leftovers.append(source)
    try:
        with open(os.path.join(folder, IDENTITY)) as f:
            chosen = json.load(f)
        for path in (partial, stamped):
            if os.path.exists(path):
                os.remove(path)
        run(signing_arguments(chosen) + ["-in", source, "-out", partial])
        if chosen["timestamp_url"]:
            timestamp(chosen, partial, stamped, os.path.basename(output))
            os.replace(stamped, partial)
        os.chmod(partial, os.stat(source).st_mode)
        os.replace(partial, output)
    except (OSError, ValueError, SigningError):
        for path in leftovers:
            if os.path.exists(path):
                os.remove(path)
        raise


def main(argv):
    try:
        if len(argv) == 3 and argv[1] == "identity":
            identity(argv[2])
        elif len(argv) in (4, 5) and argv[1] == "sign":
            sign(argv[2], argv[3], argv[4] if len(argv) == 5 else argv[3])
        else:
            print(__doc__, file=sys.stderr)
            return 2
    except (OSError, ValueError, SigningError) as error:
        print("codesign: %s" % error, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
