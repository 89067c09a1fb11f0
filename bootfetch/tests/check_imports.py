#!/usr/bin/env python3
"""Fails when a program imports a DLL that Windows does not always take from
the system folder. A download folder can hold any other DLL, and the loader
would map it before the program's first instruction. Fails too when it
imports a function newer than Vista that the program looks up at run time
instead: imported, it would keep the program from starting on Vista.

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

LOOKED_UP_AT_RUN_TIME = {
    "SetDefaultDllDirectories",  # Vista and 7 without KB2533623 lack it
    "GetDpiForWindow",  # Windows 10 1607
    "SetDialogDpiChangeBehavior",  # Windows 10 1703
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
    functions = set(re.findall(r"^\s+[0-9a-f]+\s+\d+\s+(\w+)", dump.stdout, re.MULTILINE))
    too_new = sorted(functions & LOOKED_UP_AT_RUN_TIME)
    if too_new:
        print("%s imports what Vista lacks: %s" % (program, ", ".join(too_new)))
    return not outside and not too_new


def main():
    objdump, programs = sys.argv[1], sys.argv[2:]
    results = [check(objdump, program) for program in programs]
    return 0 if programs and all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
