#!/usr/bin/env python3
"""Signs the shipped files with an Authenticode signature (osslsigncode, SHA-256).

What signs them is decided once per build and recorded in
SIGNING_DIR/identity.json:

- a vendor's certificate when SIGN_PFX names its PFX file; SIGN_PASSWORD_FILE
  names a file holding the password, which osslsigncode and openssl read from
  there, so it is never on a command line nor in any output;
- otherwise the build folder's own test certificate authority and
  code-signing certificate, made with openssl when missing or about to
  expire. Its root is SIGNING_DIR/test-root.crt (PEM); the root's key is
  discarded once the signing certificate is issued.

SIGN_TIMESTAMP_URL, when set, names an RFC 3161 timestamp server, so that
the signatures stay valid after the certificate expires.

There is no unsigned fallback: a file that cannot be signed fails the build,
and a program signed in place is deleted rather than left unsigned.

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
import subprocess
import sys
import tempfile

DIGEST = "sha256"
KEY_TYPE = "rsa:3072"
ROOT_SUBJECT = "/O=Vantrel/CN=Vantrel Test Root"
SIGNER_SUBJECT = "/O=Vantrel/CN=Vantrel Test Code Signing"
ROOT_DAYS = 3650
SIGNER_DAYS = 1095
# A build never starts with a signing certificate that expires within a month.
RENEW_BEFORE_SECONDS = 30 * 24 * 3600

IDENTITY = "identity.json"
TEST_ROOT = "test-root.crt"
TEST_SIGNER = "test-signer.crt"
TEST_SIGNER_KEY = "test-signer.key"

ROOT_EXTENSIONS = ["basicConstraints=critical,CA:TRUE", "keyUsage=critical,keyCertSign,cRLSign"]
SIGNER_EXTENSIONS = ["basicConstraints=critical,CA:FALSE", "keyUsage=critical,digitalSignature",
                     "extendedKeyUsage=codeSigning"]


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
        signer_key = os.path.join(work, TEST_SIGNER_KEY)
        signer = os.path.join(work, TEST_SIGNER)
        new_certificate(root_key, root, ROOT_SUBJECT, ROOT_DAYS, ROOT_EXTENSIONS)
        new_certificate(signer_key, signer, SIGNER_SUBJECT, SIGNER_DAYS, SIGNER_EXTENSIONS,
                        ["-CA", root, "-CAkey", root_key])
        os.chmod(signer_key, 0o600)
        # The signing certificate first: a root without it is made again.
        for name in (TEST_SIGNER_KEY, TEST_SIGNER, TEST_ROOT):
            os.replace(os.path.join(work, name), os.path.join(folder, name))


def expires_soon(cert):
    return subprocess.run(["openssl", "x509", "-checkend", str(RENEW_BEFORE_SECONDS), "-noout",
                           "-in", cert], capture_output=True).returncode != 0


def test_identity(folder):
    signer = os.path.join(folder, TEST_SIGNER)
    paths = [os.path.join(folder, name) for name in (TEST_ROOT, TEST_SIGNER, TEST_SIGNER_KEY)]
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


def signing_arguments(chosen):
    args = ["osslsigncode", "sign", "-h", DIGEST]
    if "pfx" in chosen:
        args += ["-pkcs12", chosen["pfx"], "-readpass", chosen["password_file"]]
    else:
        args += ["-certs", chosen["certs"], "-key", chosen["key"]]
    if chosen["timestamp_url"]:
        args += ["-ts", chosen["timestamp_url"]]
    return args


def sign(folder, source, output):
    partial = output + ".signing"
    # What is left when signing fails: nothing, not even the unsigned program
    # when it was to be signed in place, so that the next build links it again.
    leftovers = [partial]
    if os.path.abspath(output) == os.path.abspath(source):
        leftovers.append(source)
    try:
        with open(os.path.join(folder, IDENTITY)) as f:
            chosen = json.load(f)
        if os.path.exists(partial):
            os.remove(partial)
        run(signing_arguments(chosen) + ["-in", source, "-out", partial])
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
