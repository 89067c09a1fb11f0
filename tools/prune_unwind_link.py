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

Usage, as CMake's RULE_LAUNCH_LINK: prune_unwind_link.py <command...>.
Commands other than a link that writes a program or a DLL run unchanged.
"""
import os
import re
import shlex
import struct
import subprocess
import sys
import tempfile

REMOVED = re.compile(r"removing unused section '([^']*)' in file '([^']*)'")


def expand_response_files(args):
    out = []
    for arg in args:
        if arg.startswith("@") and os.path.isfile(arg[1:]):
            with open(arg[1:]) as f:
                out.extend(shlex.split(f.read()))
        else:
            out.append(arg)
    return out


def output_of(args):
    for i, arg in enumerate(args[:-1]):
        if arg == "-o":
            return i + 1
    return None


class Removed:
    """The sections a link dropped: per input file for plain sections, by
    name for COMDAT ones (ld writes those "name[symbol]"), because every copy
    of a COMDAT function has its own unwind entry in its own object."""

    def __init__(self, stderr=""):
        self.plain, self.comdat, self.files = {}, set(), set()
        for line in stderr.splitlines():
            m = REMOVED.search(line)
            if not m:
                continue
            self.files.add(m.group(2))
            name = re.sub(r"\[[^\]]*\]$", "", m.group(1))
            if name != m.group(1):
                self.comdat.add(name)
            else:
                self.plain.setdefault(m.group(2), []).append(name)

    def within(self, other):
        """What of this the other link dropped as well."""
        kept = Removed()
        kept.comdat = self.comdat & other.comdat
        for key, names in self.plain.items():
            left = list(other.plain.get(key, []))
            for name in names:
                if name in left:
                    left.remove(name)
                    kept.plain.setdefault(key, []).append(name)
        return kept

    def __eq__(self, other):
        return self.plain == other.plain and self.comdat == other.comdat


def default_script(compiler):
    out = subprocess.run([compiler, "-Wl,--verbose"], capture_output=True, text=True).stdout
    body = out.split("=" * 50)
    script = body[1] if len(body) >= 3 else ""
    if "KEEP(*(.eh_frame*))" not in script:
        raise RuntimeError("unexpected default linker script")
    return script.replace("KEEP(*(.eh_frame*))", "*(.eh_frame*)")


class CoffObject:
    """Just enough of a COFF object to drop FDEs from its .eh_frame."""

    def __init__(self, data):
        self.data = bytearray(data)
        (machine, self.nsections, _, self.symptr, self.nsyms, opt, _) = struct.unpack_from(
            "<HHIIIHH", data, 0)
        if machine != 0x14C:
            raise ValueError("not an i386 object")
        self.strtab = self.symptr + 18 * self.nsyms
        self._by_section = None  # symbols by section number, read on first need
        self.sections = []
        for i in range(self.nsections):
            off = 20 + opt + 40 * i
            raw = bytes(data[off:off + 8])
            name = raw.rstrip(b"\0").decode("latin-1")
            if name.startswith("/"):
                start = self.strtab + int(name[1:])
                name = bytes(data[start:data.index(b"\0", start)]).decode("latin-1")
            size, ptr, relptr, _, nrel = struct.unpack_from("<IIIIH", data, off + 16)
            flags = struct.unpack_from("<I", data, off + 36)[0]
            self.sections.append(dict(header=off, name=name, size=size, ptr=ptr, relptr=relptr,
                                      nrel=nrel, comdat=bool(flags & 0x1000),
                                      overflow=bool(flags & 0x01000000)))

    def symbol_section(self, index):
        return struct.unpack_from("<h", self.data, self.symptr + 18 * index + 12)[0]

    def prune_eh_frame(self, plain, comdat):
        """Removes the FDEs of functions in dead sections: plain names the
        object's dropped plain sections (a name repeated in the object counts
        only if all its sections went), comdat the dropped COMDAT names.
        Returns the bytes removed."""
        counts = {}
        for s in self.sections:
            counts[s["name"]] = counts.get(s["name"], 0) + 1
        dead = {i + 1 for i, s in enumerate(self.sections)
                if (s["name"] in comdat if s["comdat"]
                    else plain.count(s["name"]) >= counts[s["name"]])}
        removed = 0
        for number, s in enumerate(self.sections, 1):
            # COMDAT functions have their unwind entries in ".eh_frame$name".
            if s["name"].startswith(".eh_frame") and not s["overflow"] and s["ptr"]:
                removed += self._prune_section(number, s, dead)
        return removed

    def _prune_section(self, number, s, dead):
        relocs = [struct.unpack_from("<IIH", self.data, s["relptr"] + 10 * i) for i in range(s["nrel"])]
        if not any(self.symbol_section(sym) in dead for _, sym, _ in relocs):
            return 0
        raw = bytes(self.data[s["ptr"]:s["ptr"] + s["size"]])
        target = {off: sym for off, sym, _ in relocs}
        records, pos = [], 0
        while pos + 8 <= len(raw):
            length, ident = struct.unpack_from("<II", raw, pos)
            if length in (0, 0xFFFFFFFF) or pos + 4 + length > len(raw):
                return 0  # a terminator or a form this does not edit: leave as is
            end = pos + 4 + length
            # An FDE's first field after the CIE pointer is its function's address.
            drop = ident != 0 and (pos + 8) in target and \
                self.symbol_section(target[pos + 8]) in dead
            records.append((pos, end, ident, drop))
            pos = end
        if pos != len(raw) or not any(r[3] for r in records):
            return 0
        # A CIE that no remaining FDE refers to goes too.
        used = {start + 4 - ident for start, _, ident, drop in records if ident and not drop}
        records = [(a, b, i, d or (i == 0 and a not in used)) for a, b, i, d in records]
        new_pos, out, shift = {}, bytearray(), 0
        for start, end, ident, drop in records:
            if drop:
                shift += end - start
                continue
            new_pos[start] = start - shift
            out += raw[start:end]
        for start, end, ident, drop in records:
            if drop or ident == 0:
                continue
            cie = start + 4 - ident
            if cie not in new_pos:
                return 0
            struct.pack_into("<I", out, new_pos[start] + 4, new_pos[start] + 4 - new_pos[cie])
        kept = []
        for off, sym, kind in relocs:
            rec = next((r for r in records if r[0] <= off < r[1]), None)
            if rec is None:
                return 0
            if not rec[3]:
                kept.append((new_pos[rec[0]] + off - rec[0], sym, kind))
        # Symbols defined inside the table would move; only the section's own is expected.
        if any(value != 0 for _, value, _, _ in self._symbols_of(number)):
            return 0
        self.data[s["ptr"]:s["ptr"] + s["size"]] = bytes(out) + bytes(s["size"] - len(out))
        for i, (off, sym, kind) in enumerate(kept):
            struct.pack_into("<IIH", self.data, s["relptr"] + 10 * i, off, sym, kind)
        struct.pack_into("<I", self.data, s["header"] + 16, len(out))
        struct.pack_into("<H", self.data, s["header"] + 32, len(kept))
        self._update_section_aux(number, len(out), len(kept))
        return len(raw) - len(out)

    def _symbols_of(self, number):
        if self._by_section is None:
            self._by_section = {}
            i = 0
            while i < self.nsyms:
                base = self.symptr + 18 * i
                value, secnum, _, storage, naux = struct.unpack_from("<IhHBB", self.data, base + 8)
                self._by_section.setdefault(secnum, []).append((base, value, storage, naux))
                i += 1 + naux
        return self._by_section.get(number, [])

    def _update_section_aux(self, number, size, nrel):
        # The section symbol's auxiliary record repeats the size and count.
        for base, _, storage, naux in self._symbols_of(number):
            if storage == 3 and naux >= 1:
                struct.pack_into("<IH", self.data, base + 18, size, nrel)


def read_archive(path):
    with open(path, "rb") as f:
        data = f.read()
    if not data.startswith(b"!<arch>\n"):
        raise ValueError(path + " is not an archive")
    members, pos, longnames = [], 8, b""
    while pos + 60 <= len(data):
        header = data[pos:pos + 60]
        size = int(header[48:58])
        body = data[pos + 60:pos + 60 + size]
        name = header[:16].decode("latin-1").rstrip()
        if name == "//":
            longnames = body
        elif name not in ("/", "/SYM64/"):
            if name.startswith("/") and name[1:].isdigit():
                start = int(name[1:])
                name = longnames[start:longnames.index(b"/\n", start)].decode("latin-1")
            else:
                name = name.rstrip("/")
            members.append([name, header, body])
        pos += 60 + size + (size & 1)
    return members, longnames


def write_archive(path, members, longnames, ranlib):
    with open(path, "wb") as f:
        f.write(b"!<arch>\n")
        if longnames:
            f.write(b"//" + b" " * 46 + b"%-10d`\n" % len(longnames) + longnames)
            if len(longnames) & 1:
                f.write(b"\n")
        for _, header, body in members:
            f.write(header[:48] + b"%-10d" % len(body) + header[58:60] + body)
            if len(body) & 1:
                f.write(b"\n")
    subprocess.run([ranlib, path], check=True)


def prune_archive(path, dead, out_path, ranlib):
    """Copies the archive at path to out_path without the FDEs of dead
    sections (a Removed whose plain keys read "path(member)"). Returns the
    bytes removed; with none, nothing is written."""
    members, longnames = read_archive(path)
    names = [m[0] for m in members]
    saved = 0
    for member in members:
        # A member name that repeats is ambiguous in ld's list: only COMDAT by name.
        plain = dead.plain.get("%s(%s)" % (path, member[0]), []) \
            if names.count(member[0]) == 1 else []
        if not plain and not dead.comdat:
            continue
        try:
            obj = CoffObject(member[2])
            saved += obj.prune_eh_frame(plain, dead.comdat)
            member[2] = bytes(obj.data)
        except (ValueError, struct.error):
            continue  # not an object this can read: linked as it is
    if saved:
        write_archive(out_path, members, longnames, ranlib)
    return saved


def link(args, extra=()):
    return subprocess.run(args + list(extra), capture_output=True, text=True)


def main(argv):
    args = expand_response_files(argv)
    out = output_of(args)
    if out is None or not args[out].lower().endswith((".exe", ".dll")):
        return subprocess.call(argv)
    try:
        return pruned_link(args, out)
    except (OSError, ValueError, RuntimeError, struct.error) as e:
        sys.stderr.write("warning: prune_unwind_link: %s; linked as it is\n" % e)
        return forward(link(args))


def pruned_link(args, out):
    compiler = args[0]
    ranlib = re.sub(r"g\+\+(-[a-z0-9]+)?$", "ranlib", os.path.basename(compiler))
    with tempfile.TemporaryDirectory(prefix="prune-unwind-") as tmp:
        script = os.path.join(tmp, "probe.ld")
        with open(script, "w") as f:
            f.write(default_script(compiler))
        probe = [a for a in args if not a.startswith("-Wl,--out-implib")]
        probe[out] = os.path.join(tmp, "probe" + os.path.splitext(args[out])[1])
        result = link(probe, ["-Wl,-T," + script, "-Wl,--print-gc-sections"])
        if result.returncode != 0:
            return forward(link(args))
        dead = Removed(result.stderr)
        # Archives named on the command line are replaced in place; those the
        # driver finds itself (-lstdc++, -lgcc_eh, ...) through a folder searched first.
        system = os.path.join(tmp, "lib")
        os.mkdir(system)
        searched = [compiler, "-L" + system] + args[1:]
        archives = {a for a in args if a.endswith(".a") and os.path.isfile(a)}
        found = {key[:key.index("(")] for key in dead.files if key.endswith(")") and "(" in key}
        found = {p for p in found if os.path.isabs(p) and p not in archives}
        if len({os.path.basename(p) for p in found}) != len(found):
            return forward(link(args))
        copies = {a: os.path.join(tmp, "%d-%s" % (n, os.path.basename(a)))
                  for n, a in enumerate(sorted(archives))}
        copies.update((p, os.path.join(system, os.path.basename(p))) for p in found)
        original = {copy: path for path, copy in copies.items()}
        dead.plain = {k: v for k, v in dead.plain.items() if k[:k.find("(")] in copies}
        for _ in range(4):
            pruned = set()
            for path, copy in copies.items():
                if os.path.exists(copy):
                    os.remove(copy)
                if prune_archive(path, dead, copy, ranlib):
                    pruned.add(path)
            final = [copies[a] if a in pruned else a for a in searched]
            result = link(final, ["-Wl,--print-gc-sections"])
            if result.returncode != 0:
                return forward(link(args))
            gone = Removed(result.stderr)
            gone.plain = {original.get(k[:k.find("(")], k[:k.find("(")]) + k[k.find("("):]: v
                          for k, v in gone.plain.items()}
            # An entry whose code the link still keeps comes back.
            kept = dead.within(gone)
            if kept == dead:
                return forward(result, quiet=True)
            dead = kept
        return forward(link(args))


def forward(result, quiet=False):
    sys.stdout.write(result.stdout)
    for line in result.stderr.splitlines(True):
        if not (quiet and REMOVED.search(line)):
            sys.stderr.write(line)
    return result.returncode


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
