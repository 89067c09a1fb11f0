#!/usr/bin/env python3
"""Fails when a program imports a DLL that Windows does not always take from
the system folder. A download folder can hold any other DLL, and the loader
would map it before the program's first instruction.

  check_imports.py OBJDUMP PROGRAM
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


def main():
    objdump, program = sys.argv[1:3]
    dump = subprocess.run([objdump, "-p", program], check=True, capture_output=True, text=True)
    imported = {name.lower() for name in re.findall(r"DLL Name: (\S+)", dump.stdout)}
    if not imported:
        print("no imports found in %s" % program)
        return 1
    outside = sorted(imported - ALLOWED)
    print("imports: %s" % ", ".join(sorted(imported)))
    if outside:
        print("imports a DLL a download folder could plant: %s" % ", ".join(outside))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
