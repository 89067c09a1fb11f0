#!/usr/bin/env python3
"""Fails when a deliverable, stripped and unsigned, is larger than its
ceiling, and names what is largest in it.

  check_size_ceiling.py STRIP FILE CEILING [MAP]

The size is that of a copy without the attribute-certificate table that
signing appends (data directory entry 4), stripped with STRIP, so it is the
same whether or not the file is signed. MAP, GNU ld's map of the link, adds
the largest archives and objects of the link to the sections of the file.
"""
import collections
import os
import re
import struct
import subprocess
import sys
import tempfile

# Where the DOS header keeps the offset of the PE signature.
PE_OFFSET_FIELD = 0x3C
PE_SIGNATURE = b"PE\0\0"
COFF_HEADER = struct.Struct("<HHIIIHH")  # machine, sections, time, symbols' offset and count, ...
SYMBOL_SIZE = 18
# A section name "/N" stands for the string at offset N of the string table,
# which follows the symbols; ld cuts a long name to 8 bytes where there is none.
LONG_NAME_PREFIX = "/"
SHORT_NAME_SIZE = 8
SECTION_HEADER = struct.Struct("<8sIIIIIIHHI")  # name, virtual size, address, raw size, ...
DATA_DIRECTORY = struct.Struct("<II")  # file offset (for this entry) and size
# The optional header's magic, and where its data directories start.
DATA_DIRECTORIES = {0x10B: 96, 0x20B: 112}  # PE32, PE32+
IMAGE_DIRECTORY_ENTRY_SECURITY = 4
# An input line of the map: "[ name] address size file"; a long name stands alone before it.
MAP_INPUT = re.compile(r"^ (?:\S+)?\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(\S.*)$")
MAP_OUTPUT_SECTION = re.compile(r"^(\S+)")
MAP_START = "Linker script and memory map"
SHOWN = 8  # contributors named per list


class PeFile:
    def __init__(self, data):
        pe = struct.unpack_from("<I", data, PE_OFFSET_FIELD)[0]
        if data[pe:pe + len(PE_SIGNATURE)] != PE_SIGNATURE:
            raise ValueError("not a PE file")
        header = pe + len(PE_SIGNATURE)
        _, sections, _, symbols, count, optional_size, _ = COFF_HEADER.unpack_from(data, header)
        strings = symbols + SYMBOL_SIZE * count
        optional = header + COFF_HEADER.size
        magic = struct.unpack_from("<H", data, optional)[0]
        self.security_entry = optional + DATA_DIRECTORIES[magic] + \
            DATA_DIRECTORY.size * IMAGE_DIRECTORY_ENTRY_SECURITY
        self.certificates = DATA_DIRECTORY.unpack_from(data, self.security_entry)
        first = optional + optional_size
        self.sections = {}  # name -> bytes in the file
        for i in range(sections):
            fields = SECTION_HEADER.unpack_from(data, first + SECTION_HEADER.size * i)
            name = fields[0].rstrip(b"\0").decode("latin-1")
            if name.startswith(LONG_NAME_PREFIX) and symbols:
                start = strings + int(name[len(LONG_NAME_PREFIX):])
                name = data[start:data.index(b"\0", start)].decode("latin-1")
            self.sections[name] = fields[3]


def stripped_unsigned(strip, path, folder):
    """A stripped copy of path without its certificate table."""
    with open(path, "rb") as f:
        data = bytearray(f.read())
    offset, size = PeFile(data).certificates
    if size:
        del data[offset:]  # the table is the last thing in the file
        DATA_DIRECTORY.pack_into(data, PeFile(data).security_entry, 0, 0)
    unsigned = os.path.join(folder, "unsigned-" + os.path.basename(path))
    stripped = os.path.join(folder, "stripped-" + os.path.basename(path))
    with open(unsigned, "wb") as f:
        f.write(data)
    subprocess.run([strip, "-o", stripped, unsigned], check=True)
    with open(stripped, "rb") as f:
        return f.read()


def map_inputs(path, sections):
    """Bytes per input file (archive(member) or object) in the given output sections."""
    sizes = collections.Counter()
    with open(path, errors="replace") as f:
        lines = iter(f)
        for line in lines:
            if line.startswith(MAP_START):
                break
        output = None
        for line in lines:
            section = MAP_OUTPUT_SECTION.match(line)
            if section:
                output = section.group(1)
            m = MAP_INPUT.match(line)
            if m and (output in sections or output[:SHORT_NAME_SIZE] in sections):
                sizes[m.group(2).strip()] += int(m.group(1), 16)
    return sizes


def bytes_text(size):
    return "{:,}".format(size)


def largest(sizes):
    return "; ".join("%s %s" % (name, bytes_text(size)) for name, size in sizes.most_common(SHOWN))


def contributors(pe, map_path):
    lines = ["sections: " + largest(collections.Counter(pe.sections))]
    if map_path and os.path.isfile(map_path):
        inputs = map_inputs(map_path, {s for s, size in pe.sections.items() if size})
        archives = collections.Counter()
        files = collections.Counter()
        for name, size in inputs.items():
            archive = os.path.basename(name.partition("(")[0])
            archives[archive] += size
            files[os.path.basename(name)] += size
        lines.append("archives and objects (linker map, before stripping): " + largest(archives))
        lines.append("largest inputs: " + largest(files))
    return lines


def main(strip, path, ceiling, map_path=None):
    ceiling = int(ceiling)
    with tempfile.TemporaryDirectory() as folder:
        data = stripped_unsigned(strip, path, folder)
    name = os.path.basename(path)
    print("%s: %s bytes stripped and unsigned, ceiling %s" % (
        name, bytes_text(len(data)), bytes_text(ceiling)))
    for line in contributors(PeFile(data), map_path):
        print("  " + line)
    if len(data) > ceiling:
        print("%s is %s bytes over its ceiling. If that is meant, raise the ceiling in "
              "cmake/SizeBudget.cmake and say what for in docs/size-budget.md." % (
                  name, bytes_text(len(data) - ceiling)))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
