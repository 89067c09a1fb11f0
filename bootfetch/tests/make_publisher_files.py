#!/usr/bin/env python3
"""Makes the publisher check's files at test time, keeping no key:

  make_publisher_files.py FOLDER PROGRAM PACKAGE BUNDLE

puts the unsigned PROGRAM signed by the publisher into FOLDER as program.exe,
beside the unsigned PACKAGE signed in each way the check tells apart, or left
unsigned. The trusted root joins BUNDLE (tools/test-root-trust.sh), if any.
"""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools"))
from codesign import ROOT_EXTENSIONS, SIGNER_EXTENSIONS, new_certificate  # noqa: E402

PUBLISHER = "/O=Vantrel Check/CN=Vantrel Check Publisher"
# Addresses that nothing answers in the tests' network namespace.
UNREACHABLE = ["crlDistributionPoints=URI:http://192.0.2.1/publisher.crl",
               "authorityInfoAccess=OCSP;URI:http://192.0.2.1/ocsp,"
               "caIssuers;URI:http://192.0.2.1/issuer.crt"]
# Package, signer's subject, issuing root, more extensions; no subject: unsigned.
PACKAGES = (
    ("same.msi", PUBLISHER, "trusted", []),
    ("renewed.msi", PUBLISHER, "trusted", []),  # a key of its own
    ("other.msi", "/O=Other Maker/CN=Other Maker Code Signing", "trusted", []),
    ("impostor.msi", PUBLISHER, "untrusted", []),
    ("revocation.msi", PUBLISHER, "trusted", UNREACHABLE),
    ("unsigned.msi", None, None, None),
)


def certificate(work, name, subject, extensions, issuer=None):
    path = os.path.join(work, name)
    new_certificate(path + ".key", path + ".crt", subject, 30, extensions,
                    ["-CA", issuer + ".crt", "-CAkey", issuer + ".key"] if issuer else [])
    return path


def sign(signer, source, output):
    subprocess.run(["osslsigncode", "sign", "-certs", signer + ".crt", "-key", signer + ".key",
                    "-h", "sha256", "-in", source, "-out", output], check=True,
                   capture_output=True)


def main(folder, program, package, bundle):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    with tempfile.TemporaryDirectory() as work:
        roots = {kind: certificate(work, kind, "/O=Vantrel Check/CN=%s root" % kind,
                                   ROOT_EXTENSIONS) for kind in ("trusted", "untrusted")}
        publisher = certificate(work, "publisher", PUBLISHER, SIGNER_EXTENSIONS, roots["trusted"])
        sign(publisher, program, os.path.join(folder, "program.exe"))
        for index, (name, subject, root, extensions) in enumerate(PACKAGES):
            if subject is None:
                shutil.copy(package, os.path.join(folder, name))
                continue
            signer = certificate(work, "signer%d" % index, subject,
                                 SIGNER_EXTENSIONS + extensions, roots[root])
            sign(signer, package, os.path.join(folder, name))
        if os.environ.get("TRUST_NAMESPACE") and os.path.isfile(bundle):
            # Appended in place: the bind mount holds the file, not its name.
            with open(bundle, "a") as out, open(roots["trusted"] + ".crt") as root:
                out.write(root.read())


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    main(*sys.argv[1:])
