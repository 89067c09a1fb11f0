#!/usr/bin/env python3
"""Makes the publisher check's files at test time, with openssl and
osslsigncode, and keeps no key:

  make_publisher_files.py FOLDER PROGRAM BUNDLE

FOLDER receives program.exe (PROGRAM signed by the publisher), a small
package signed in each of the ways the check must tell apart, the same
package unsigned, and trusted-root.crt. The trusted root is added to the
bundle that Wine reads in the tests' mount namespace (tools/test-root-trust.sh),
when there is one; the untrusted root is discarded.
"""
import os
import shutil
import subprocess
import sys
import tempfile

PUBLISHER = "/O=Vantrel Check/CN=Vantrel Check Publisher"
OTHER = "/O=Other Maker/CN=Other Maker Code Signing"
CA = ["basicConstraints=critical,CA:TRUE", "keyUsage=critical,keyCertSign,cRLSign"]
SIGNER = ["basicConstraints=critical,CA:FALSE", "keyUsage=critical,digitalSignature",
          "extendedKeyUsage=codeSigning"]
# Addresses that nothing answers in the tests' network namespace.
UNREACHABLE = ["crlDistributionPoints=URI:http://192.0.2.1/publisher.crl",
               "authorityInfoAccess=OCSP;URI:http://192.0.2.1/ocsp,"
               "caIssuers;URI:http://192.0.2.1/issuer.crt"]
# Package name, signer subject, issuing root, extra extensions; None: unsigned.
PACKAGES = (
    ("same.msi", PUBLISHER, "trusted", []),
    ("renewed.msi", PUBLISHER, "trusted", []),  # a key of its own
    ("other.msi", OTHER, "trusted", []),
    ("impostor.msi", PUBLISHER, "untrusted", []),
    ("revocation.msi", PUBLISHER, "trusted", UNREACHABLE),
    ("unsigned.msi", None, None, None),
)
WXS = """<?xml version="1.0"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="*" Name="Check" Language="1033" Version="1.0.0" Manufacturer="Vantrel"
           UpgradeCode="5B0D2C6E-3A53-4E4B-9C55-2D0A4A8C1E01">
    <Package InstallerVersion="200" Compressed="yes"/>
    <Directory Id="TARGETDIR" Name="SourceDir"/>
    <Feature Id="Nothing" Level="1"/>
  </Product>
</Wix>
"""


def run(*args):
    subprocess.run(args, check=True, capture_output=True)


def certificate(work, name, subject, extensions, issuer=None):
    key, cert = os.path.join(work, name + ".key"), os.path.join(work, name + ".crt")
    args = ["openssl", "req", "-x509", "-newkey", "rsa:2048", "-noenc", "-sha256", "-keyout", key,
            "-out", cert, "-days", "30", "-subj", subject]
    for extension in extensions:
        args += ["-addext", extension]
    if issuer:
        args += ["-CA", issuer + ".crt", "-CAkey", issuer + ".key"]
    run(*args)
    return os.path.join(work, name)


def sign(signer, source, output):
    if os.path.exists(output):
        os.remove(output)
    run("osslsigncode", "sign", "-certs", signer + ".crt", "-key", signer + ".key", "-h", "sha256",
        "-in", source, "-out", output)


def main(folder, program, bundle):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    with tempfile.TemporaryDirectory() as work:
        roots = {kind: certificate(work, kind, "/O=Vantrel Check/CN=%s root" % kind, CA)
                 for kind in ("trusted", "untrusted")}
        package = os.path.join(work, "package.msi")
        with open(os.path.join(work, "package.wxs"), "w") as f:
            f.write(WXS)
        run("wixl", "-o", package, os.path.join(work, "package.wxs"))
        publisher = certificate(work, "publisher", PUBLISHER, SIGNER, roots["trusted"])
        sign(publisher, program, os.path.join(folder, "program.exe"))
        for index, (name, subject, root, extensions) in enumerate(PACKAGES):
            if subject is None:
                shutil.copy(package, os.path.join(folder, name))
                continue
            signer = certificate(work, "signer%d" % index, subject, SIGNER + extensions,
                                 roots[root])
            sign(signer, package, os.path.join(folder, name))
        shutil.copy(roots["trusted"] + ".crt", os.path.join(folder, "trusted-root.crt"))
    if os.environ.get("TRUST_NAMESPACE") and os.path.isfile(bundle):
        # Appended in place: the bind mount holds the file, not its name.
        with open(bundle, "a") as out, open(os.path.join(folder, "trusted-root.crt")) as root:
            out.write(root.read())


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
