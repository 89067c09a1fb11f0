#!/usr/bin/env python3
"""The ceiling's measure of a deliverable is the same signed or not: a copy
with a certificate table appended the way signing does (padded to 8 bytes,
named by data directory entry 4) measures as the file itself.

  check_size_ceiling_test.py STRIP FILE
"""
import os
import sys
import tempfile
import unittest

from check_size_ceiling import DATA_DIRECTORY, PeFile, stripped_unsigned

STRIP, FILE = sys.argv[1:3]
SIGNING_ALIGNMENT = 8
CERTIFICATE_TABLE = b"\x30" * 1424  # a signature's size; its bytes do not matter here


class MeasureTest(unittest.TestCase):
    def test_signed_copy_measures_as_the_file(self):
        with open(FILE, "rb") as f:
            data = bytearray(f.read())
        data += bytes(-len(data) % SIGNING_ALIGNMENT)
        DATA_DIRECTORY.pack_into(data, PeFile(data).security_entry, len(data),
                                 len(CERTIFICATE_TABLE))
        data += CERTIFICATE_TABLE
        with tempfile.TemporaryDirectory() as folder:
            signed = os.path.join(folder, "signed-" + os.path.basename(FILE))
            with open(signed, "wb") as f:
                f.write(data)
            self.assertEqual(len(stripped_unsigned(STRIP, signed, folder)),
                             len(stripped_unsigned(STRIP, FILE, folder)))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
