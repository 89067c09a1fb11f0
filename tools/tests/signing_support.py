"""What the signing checks share: running codesign.py and checking a
signature with osslsigncode."""
import os
import subprocess
import sys

PASSED, FAILED = "verifies", "fails"


def verify(path, root, signer_sha256, *options):
    args = ["osslsigncode", "verify", "-in", path, "-require-leaf-hash", "sha256:" + signer_sha256]
    if root:
        args += ["-CAfile", root]
    result = subprocess.run(args + list(options), capture_output=True, text=True)
    return (PASSED if result.returncode == 0 else FAILED), result.stdout + result.stderr


def signing_environment(**values):
    """The environment without the build's signing settings nor any proxy (so
    that a request to a loopback server stays on the machine), plus VALUES."""
    env = {k: v for k, v in os.environ.items()
           if not k.startswith("SIGN_") and not k.lower().endswith("_proxy")}
    env.update(values)
    return env


def codesign(script, env, *args):
    result = subprocess.run([sys.executable, script, *args], env=env, capture_output=True,
                            text=True)
    if result.returncode != 0:
        sys.exit("codesign.py %s failed:\n%s%s" % (args[0], result.stdout, result.stderr))
    return result.stdout + result.stderr
