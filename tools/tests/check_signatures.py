#!/usr/bin/env python3
"""Checks the Authenticode signature of every shipped file with osslsigncode:
the signature is valid, the digest matches the file, and the signer is the
build's certificate, whose chain ends in the build's test root (or in the
system's roots for a vendor's certificate).

Three more rows show that the check fails where it must: a signed program
with one byte flipped, and a copy signed through a PFX with a password file
(the vendor's path, which must not print the password) checked for the
build's signer; that copy passes for its own signer.

Usage: check_signatures.py CODESIGN.py SIGNING_DIR FILE...
"""
import json
import os
import secrets
import shutil
import subprocess
import sys
import tempfile

from signing_support import FAILED, PASSED, codesign, signing_environment, verify


def flipped_copy(source, work):
    copy = os.path.join(work, "flipped-" + os.path.basename(source))
    shutil.copyfile(source, copy)
    with open(copy, "r+b") as f:
        # The middle of a program is inside its image, which the digest covers.
        f.seek(os.path.getsize(copy) // 2)
        byte = f.read(1)[0]
        f.seek(-1, os.SEEK_CUR)
        f.write(bytes([byte ^ 0xFF]))
    return copy


def vendor_signed_copy(script, source, work):
    """A copy of SOURCE signed through SIGN_PFX by another authority: the
    copy, that authority's identity and everything the signing printed."""
    env = signing_environment()
    authority = os.path.join(work, "other-authority")
    codesign(script, env, "identity", authority)
    password = secrets.token_hex(16)
    password_file = os.path.join(work, "password")
    with open(password_file, "w") as f:
        f.write(password + "\n")
    pfx = os.path.join(work, "vendor.pfx")
    subprocess.run(["openssl", "pkcs12", "-export", "-out", pfx, "-passout", "file:" + password_file,
                    "-inkey", os.path.join(authority, "test-signer.key"),
                    "-in", os.path.join(authority, "test-signer.crt")], check=True)
    env.update(SIGN_PFX=pfx, SIGN_PASSWORD_FILE=password_file)
    vendor = os.path.join(work, "vendor")
    copy = os.path.join(work, "vendor-" + os.path.basename(source))
    printed = codesign(script, env, "identity", vendor)
    printed += codesign(script, env, "sign", vendor, source, copy)
    if password in printed:
        sys.exit("signing through the PFX printed its password")
    with open(os.path.join(authority, "identity.json")) as f:
        return copy, json.load(f)


def main():
    script, signing_dir, files = sys.argv[1], sys.argv[2], sys.argv[3:]
    if not files:
        sys.exit(__doc__)
    with open(os.path.join(signing_dir, "identity.json")) as f:
        build = json.load(f)
    root, signer = build["root"], build["signer_sha256"]
    with tempfile.TemporaryDirectory() as work:
        vendor_copy, other = vendor_signed_copy(script, files[0], work)
        # name, file, root, signer's certificate hash, expected outcome
        rows = [(os.path.basename(path), path, root, signer, PASSED) for path in files]
        rows += [
            ("one byte flipped", flipped_copy(files[0], work), root, signer, FAILED),
            ("another signer, checked for the build's", vendor_copy, other["root"], signer, FAILED),
            ("another signer, checked for its own", vendor_copy, other["root"],
             other["signer_sha256"], PASSED),
        ]
        failures = 0
        for name, path, row_root, row_signer, expected in rows:
            outcome, output = verify(path, row_root, row_signer)
            print("%-45s %s" % (name, outcome))
            if outcome != expected:
                failures += 1
                print("  expected it to be %s; osslsigncode said:\n%s" % (expected, output))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
