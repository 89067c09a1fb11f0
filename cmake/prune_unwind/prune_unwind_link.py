#!/usr/bin/env python3
"""Links a release program without the unwind tables of code it never runs.

GNU ld's script for Windows keeps every input .eh_frame section, and each
object's unwind table refers to each of its functions, so --gc-sections can
drop only code without unwind information. Linkers for ELF drop the unwind
entries of unused code instead. This launcher does the same in three steps:

1. a probe link, whose script does not keep .eh_frame, lists the sections
   that nothing but unwind tables refers to (--print-gc-sections);
2. copies of the archives the link reads (those on its command line and
   those the compiler driver adds) lose the unwind entries (FDEs) of those
   sections;
3. the real link runs on the copies, and every section whose entry went must
   be gone from its result too; one that stayed (reached only through the
   tables, like the personality routine's helpers) gets its entry back and
   the link runs again.

Usage, as CMake's RULE_LAUNCH_LINK:
  prune_unwind_link.py --ranlib RANLIB -- LINK-COMMAND...
A link it cannot prune this way (CannotPrune) runs as it is, after one
warning line that says why; any other exception is a fault of the launcher
and fails the link with its traceback. The link rule's other commands
(CMake's rm and ar steps before a DLL's link) run as they are.
"""
import collections
import os
import shlex
import shutil
import struct
import subprocess
import sys
import tempfile

from ar_archive import read_archive, write_archive
from coff_object import CoffObject, is_import_object
from removed_sections import REMOVED, RemovedSections, archive_of

# What the pruning was verified on: another linker or target links as it is.
VERIFIED_LINKERS = ("GNU ld (GNU Binutils) 2.40",)
VERIFIED_OUTPUT_FORMAT = "OUTPUT_FORMAT(pei-i386)"
# The default script keeps every unwind table; the probe's lets them go.
KEPT_UNWIND_TABLES = "KEEP(*(.eh_frame*))"
DROPPABLE_UNWIND_TABLES = "*(.eh_frame*)"
# ld --verbose prints its default script between two such lines.
SCRIPT_RULE = "=" * 50
PROGRAM_SUFFIXES = (".exe", ".dll")
# Options by which a link writes a second file, which the probe must not.
PROBE_DROPPED_OPTIONS = ("-Wl,--out-implib", "-Wl,-Map")
# Copies of the archives the driver adds, searched before its own folders.
DRIVER_ARCHIVES = "driver-archives"
# Each link gives back the entries of code it still keeps; the deliverables settle by the third.
MAX_LINKS = 4
WARNING = "warning: prune_unwind_link: %s; linked without pruning\n"
# What reading an archive or an object it does not expect raises.
MALFORMED = (ValueError, IndexError, struct.error)


class CannotPrune(Exception):
    """Why a link runs as it is."""


def main(argv):
    os.environ["LC_ALL"] = "C"  # ld's messages are parsed: no other language
    ranlib, command = split_arguments(argv)
    args = expand_response_files(command)
    if program_output(args) is None:
        return subprocess.call(command)  # the link rule's rm and ar steps
    try:
        return pruned_link(ranlib, args)
    except CannotPrune as e:  # any other exception fails the link
        return plain_link(command, str(e))


def plain_link(command, reason):
    sys.stderr.write(WARNING % reason)
    sys.stderr.flush()
    return subprocess.call(command)


def split_arguments(argv):
    """(ranlib, link command) from "--ranlib RANLIB -- COMMAND..."."""
    if len(argv) >= 3 and argv[0] == "--ranlib" and argv[2] == "--":
        return argv[1], argv[3:]
    return None, argv


def pruned_link(ranlib, args):
    if ranlib is None:
        raise CannotPrune("no --ranlib RANLIB -- before the link command")
    if shutil.which(ranlib) is None:
        raise CannotPrune("ranlib '%s' is not found" % ranlib)
    compiler = args[0]
    with tempfile.TemporaryDirectory(prefix="prune-unwind-") as tmp:
        dead = probe(args, probe_script(compiler), tmp)
        copies = archive_copies(args, dead, tmp)
        original = {copy: path for path, copy in copies.items()}
        dead = dead.of_archives(copies)
        searched = [compiler, "-L" + os.path.join(tmp, DRIVER_ARCHIVES)] + args[1:]
        for _ in range(MAX_LINKS):
            pruned = prune_archives(copies, dead, ranlib)
            if not pruned:
                raise CannotPrune("no archive holds an unwind entry of code the link drops")
            result = run([copies[a] if a in pruned else a for a in searched] +
                         ["-Wl,--print-gc-sections"])
            if result.returncode != 0:
                raise CannotPrune("the pruned link failed: %s" % first_error(result))
            # An entry whose code the link still keeps comes back.
            kept = dead.within(RemovedSections(result.stderr).renamed(original))
            if kept == dead:
                return forward(result)
            dead = kept
        raise CannotPrune("code whose entries went was still linked after %d links" % MAX_LINKS)


def expand_response_files(args):
    out = []
    for arg in args:
        if arg.startswith("@") and os.path.isfile(arg[1:]):
            with open(arg[1:]) as f:
                out.extend(shlex.split(f.read()))
        else:
            out.append(arg)
    return out


def program_output(args):
    """Where the command names a program or DLL as its output; None if it does not."""
    positions = [i + 1 for i, arg in enumerate(args[:-1]) if arg == "-o"]
    if positions and args[positions[-1]].lower().endswith(PROGRAM_SUFFIXES):
        return positions[-1]
    return None


def probe_script(compiler):
    """The linker's default script without KEEP on the unwind tables, once
    the linker and its target are those this was verified on."""
    verbose = run([compiler, "-Wl,--verbose"]).stdout
    linker = verbose.splitlines()[0] if verbose else "unknown"
    if linker not in VERIFIED_LINKERS:
        raise CannotPrune("the linker is '%s', verified on %s" % (
            linker, ", ".join(VERIFIED_LINKERS)))
    parts = verbose.split(SCRIPT_RULE)
    script = parts[1] if len(parts) >= 3 else ""
    if VERIFIED_OUTPUT_FORMAT not in script:
        raise CannotPrune("the linker's default script has no %s" % VERIFIED_OUTPUT_FORMAT)
    if KEPT_UNWIND_TABLES not in script:
        raise CannotPrune("the linker's default script has no %s" % KEPT_UNWIND_TABLES)
    return script.replace(KEPT_UNWIND_TABLES, DROPPABLE_UNWIND_TABLES)


def probe(args, script, tmp):
    """The sections that only unwind tables keep."""
    path = os.path.join(tmp, "probe.ld")
    with open(path, "w") as f:
        f.write(script)
    probe_args = [a for a in args if not a.startswith(PROBE_DROPPED_OPTIONS)]
    out = program_output(probe_args)  # after the filter, which may move it
    probe_args[out] = os.path.join(tmp, "probe" + os.path.splitext(probe_args[out])[1])
    result = run(probe_args + ["-Wl,-T," + path, "-Wl,--print-gc-sections"])
    if result.returncode != 0:
        raise CannotPrune("the probe link failed: %s" % first_error(result))
    dead = RemovedSections(result.stderr)
    if not dead:
        raise CannotPrune("the probe link reported no removed section")
    return dead


def archive_copies(args, dead, tmp):
    """Where each archive to prune is copied: those on the command line into
    tmp, those the driver found itself (-lstdc++, -lgcc_eh, ...) into a
    folder that the real link searches first."""
    named = sorted({a for a in args if a.endswith(".a") and os.path.isfile(a)})
    # A folder each, as two archives of the link may share a name.
    copies = {a: os.path.join(tmp, str(n), os.path.basename(a)) for n, a in enumerate(named)}
    for copy in copies.values():
        os.mkdir(os.path.dirname(copy))
    found = {archive_of(f) for f in dead.files if f.endswith(")")}
    found = sorted(p for p in found if os.path.isabs(p) and p not in copies)
    shared = [n for n, c in collections.Counter(map(os.path.basename, found)).items() if c > 1]
    if shared:
        raise CannotPrune("two of the driver's archives are called %s" % shared[0])
    os.mkdir(os.path.join(tmp, DRIVER_ARCHIVES))
    copies.update((p, os.path.join(tmp, DRIVER_ARCHIVES, os.path.basename(p))) for p in found)
    return copies


def prune_archives(copies, dead, ranlib):
    """Writes the copy of each archive that loses an entry; returns those."""
    pruned = set()
    for path, copy in copies.items():
        if os.path.exists(copy):
            os.remove(copy)
        if prune_archive(path, dead, copy, ranlib):
            pruned.add(path)
    return pruned


def prune_archive(path, dead, out_path, ranlib):
    """Copies the archive at path to out_path without the FDEs of dead
    sections. Returns the bytes removed; with none, nothing is written."""
    try:
        members, long_names = read_archive(path)
    except MALFORMED as e:
        raise CannotPrune(str(e)) from e
    names = collections.Counter(m.name for m in members)
    saved = 0
    for member in members:
        # ld's messages cannot tell apart members of one name: COMDAT only there.
        plain = dead.plain.get("%s(%s)" % (path, member.name), []) \
            if names[member.name] == 1 else []
        if not plain and not dead.comdat:
            continue
        try:
            if is_import_object(member.body):
                continue
            obj = CoffObject(member.body)
            removed = obj.prune_eh_frame(plain, dead.comdat)
        except MALFORMED as e:
            raise CannotPrune("%s(%s): %s" % (path, member.name, e)) from e
        if removed:
            member.body = bytes(obj.data)
            saved += removed
    if saved:
        try:
            write_archive(out_path, members, long_names, ranlib)
        except subprocess.CalledProcessError as e:
            why = e.stderr.decode(errors="replace").strip() or "exit status %d" % e.returncode
            raise CannotPrune("%s failed on %s: %s" % (ranlib, path, why)) from e
    return saved


def run(args):
    try:
        return subprocess.run(args, capture_output=True, text=True)
    except OSError as e:
        raise CannotPrune("cannot run %s: %s" % (args[0], e)) from e


def first_error(result):
    lines = [line for line in result.stderr.splitlines() if not REMOVED.search(line)]
    return lines[0] if lines else "exit status %d" % result.returncode


def forward(result):
    """The link's own output, without the messages asked for here."""
    sys.stdout.write(result.stdout)
    sys.stderr.writelines(line for line in result.stderr.splitlines(True)
                          if not REMOVED.search(line))
    return result.returncode


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
