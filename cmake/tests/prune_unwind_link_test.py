#!/usr/bin/env python3
"""The link launcher on a tiny archive: the functions nothing calls go, a
throw through the used ones is still caught under Wine, where it cannot prune
the launcher warns once and links as it is, and a fault of its own fails the
link with its traceback.

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
WARNING = "^warning: prune_unwind_link: [^\n]*%s[^\n]*\n$"  # one line, nothing else
# The launcher with the step after its last link broken, as a fault of its own would.
BROKEN = ("-c", "import os, sys; sys.path.insert(0, os.path.dirname(sys.argv[1])); "
          "import prune_unwind_link as launcher; launcher.forward = lambda result: {}['fault']; "
          "sys.exit(launcher.main(sys.argv[2:]))", LAUNCHER)
# (ranlib, launcher, exit status, its errors); a plain link keeps all four functions.
GIVING_UP = (("no-such-ranlib", (LAUNCHER,), 0, WARNING % "no-such-ranlib"),
             ("false", (LAUNCHER,), 0, WARNING % "false failed on"),
             (RANLIB, BROKEN, 1, "(?s)^Traceback .*KeyError: 'fault'\n$"))


def link(folder, name, ranlib, launcher=(LAUNCHER,)):
    """The launcher's result, the program and its defined symbols."""
    program = os.path.join(folder, name)
    command = [COMPILER, "-static", "-Wl,--gc-sections", MAIN_OBJECT, ARCHIVE, "-o", program]
    result = subprocess.run([sys.executable, "-B", *launcher, "--ranlib", ranlib, "--"] + command,
                            capture_output=True, text=True)
    symbols = subprocess.run([NM, "-C", "--defined-only", program], capture_output=True,
                             text=True).stdout
    return result, program, symbols


class PrunedLinkTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        cls.pruned = link(cls.folder.name, "pruned.exe", RANLIB)

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

    def test_giving_up(self):
        for n, (ranlib, launcher, status, errors) in enumerate(GIVING_UP):
            with self.subTest(errors=errors):
                result, _, symbols = link(self.folder.name, "%d.exe" % n, ranlib, launcher)
                self.assertEqual(result.returncode, status, result.stderr)
                self.assertRegex(result.stderr, errors)
                for name in UNUSED + USED if status == 0 else ():
                    self.assertIn(name, symbols)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
