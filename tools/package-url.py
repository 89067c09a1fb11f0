#!/usr/bin/env python3
"""Prints the pinned URL of a package for bootfetch.exe: the address with the
package's SHA-256 in the fragment, which HTTP never sends.

  tools/package-url.py PACKAGE BASE_URL

A BASE_URL that ends with "/" gets the package's file name appended; any
other BASE_URL is taken as the package's whole address. For example

  tools/package-url.py build/sample/VantrelDulon6.msi http://downloads.example/6/
  http://downloads.example/6/VantrelDulon6.msi#sha256=<64 hexadecimal digits>
"""

import hashlib
import os
import sys

PIECE = 1 << 20


def pinned_url(package, base_url):
    if "#" in base_url:
        raise ValueError("the URL already has a fragment: %s" % base_url)
    digest = hashlib.sha256()
    with open(package, "rb") as body:
        for piece in iter(lambda: body.read(PIECE), b""):
            digest.update(piece)
    address = base_url + os.path.basename(package) if base_url.endswith("/") else base_url
    return "%s#sha256=%s" % (address, digest.hexdigest())


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    try:
        print(pinned_url(sys.argv[1], sys.argv[2]))
    except (OSError, ValueError) as error:
        sys.exit("package-url.py: %s" % error)


if __name__ == "__main__":
    main()
