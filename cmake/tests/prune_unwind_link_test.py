#!/usr/bin/env python3
"""The link launcher on a tiny archive: the functions nothing calls go, a
throw through the used ones is still caught under Wine, and with a tool it
cannot run the launcher warns once and links as it is.

  prune_unwind_link_test.py LAUNCHER RANLIB NM WINE_RUN COMPILER MAIN_OBJECT ARCHIVE
"""
import os
import subprocess
import sys
import tempfile
import unittest

LAUNCHER, RANLIB, NM, WINE_RUN, COMPILER, MAIN_OBJECT, ARCHIVE = sys.argv[1:8]
UNUSED = ("NeverCalled(int)", "OnlyForNeverCalled(int)")  # a plain and an inline function
USED = ("UsedThrows(int)", "ThrowIfNegative(int)")
WARNING = "warning: prune_unwind_link: "


def link(folder, name, ranlib):
    """The launcher's result, the program and its defined symbols."""
    program = os.path.join(folder, name)
    command = [COMPILER, "-static", "-Wl,--gc-sections", MAIN_OBJECT, ARCHIVE, "-o", program]
    result = subprocess.run([sys.executable, "-B", LAUNCHER, "--ranlib", ranlib, "--"] + command,
                            capture_output=True, text=True)
    symbols = subprocess.run([NM, "-C", "--defined-only", program], capture_output=True,
                             text=True).stdout
    return result, program, symbols


class PrunedLinkTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        cls.pruned = link(cls.folder.name, "pruned.exe", RANLIB)
        cls.plain = link(cls.folder.name, "plain.exe", "no-such-ranlib")

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def test_unused_functions_go_and_used_ones_stay(self):
        result, _, symbols = self.pruned
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        for name in UNUSED:
            self.assertNotIn(name, symbols)
        for name in USED:
            self.assertIn(name, symbols)

    def test_throw_is_still_caught_under_wine(self):
        run = subprocess.run([WINE_RUN, self.pruned[1]], capture_output=True, text=True)
        self.assertEqual((run.returncode, run.stdout.strip()), (0, "caught"), run.stderr)

    def test_tool_it_cannot_run_gives_the_plain_link_and_one_warning(self):
        result, _, symbols = self.plain
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stderr.count(WARNING), 1, result.stderr)
        self.assertIn("no-such-ranlib", result.stderr)
        for name in UNUSED + USED:  # kept: the fixture needs the launcher to lose them
            self.assertIn(name, symbols)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
