#!/usr/bin/env python3
"""Fails when a program imports a DLL that Windows does not always take from
the system folder. A download folder can hold any other DLL, and the loader
would map it before the program's first instruction.

  check_imports.py OBJDUMP PROGRAM...
"""

import re
import subprocess
import sys

# The known DLLs, which Windows maps from the system folder whatever the
# search order, and comctl32, which the manifest binds side by side.
ALLOWED = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "imagehlp.dll",
    "imm32.dll", "kernel32.dll", "msvcrt.dll", "ole32.dll", "oleaut32.dll",
    "psapi.dll", "rpcrt4.dll", "setupapi.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll", "ws2_32.dll",
}


def check(objdump, program):
    dump = subprocess.run([objdump, "-p", program], check=True, capture_output=True, text=True)
    imported = {name.lower() for name in re.findall(r"DLL Name: (\S+)", dump.stdout)}
    if not imported:
        print("%s: no imports found" % program)
        return False
    outside = sorted(imported - ALLOWED)
    print("%s imports: %s" % (program, ", ".join(sorted(imported))))
    if outside:
        print("%s imports a DLL a download folder could plant: %s" % (program, ", ".join(outside)))
    return not outside


def main():
    objdump, programs = sys.argv[1], sys.argv[2:]
    results = [check(objdump, program) for program in programs]
    return 0 if programs and all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
