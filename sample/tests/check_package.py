#!/usr/bin/env python3
"""Checks what wixl put into the sample package's tables: every action is a
DLL call into the carried setupaux.dll (the same bytes as the build's, with an
exported entry), runs at its place in its sequence, and finds the properties
it reads.

Each package is checked alike: the English one and its localized variants,
whose ProductLanguage must be one that openTrialUrl knows.

Usage: check_package.py SETUPAUX.dll SETUPAUX.def PACKAGE.msi...
"""
import os
import subprocess
import sys
import tempfile

# Action -> (sequence, must come after, must come before). None: no bound.
PLACES = [
    ("AskRemoveOld", "InstallUISequence", "FindRelatedProducts", "ExecuteAction"),
    ("AddLaunchCheckbox", "InstallUISequence", "SetLaunchRecordName", "ExecuteAction"),
    ("SetLaunchRecordName", "InstallUISequence", "CostFinalize", "ExecuteAction"),
    ("SetLaunchTarget", "InstallUISequence", "ExecuteAction", "LoadLaunchCheckbox"),
    ("LoadLaunchCheckbox", "InstallUISequence", "ExecuteAction", "LaunchDulon"),
    ("OpenTrialUrl", "InstallUISequence", "ExecuteAction", None),
    ("IsX64Windows", "InstallExecuteSequence", "FindRelatedProducts", "CostFinalize"),
    ("FlashVersionValid", "InstallExecuteSequence", "IsX64Windows", "CostFinalize"),
    ("RemoveExistingProducts", "InstallExecuteSequence", "InstallInitialize", "InstallFinalize"),
    ("FixConnect", "InstallExecuteSequence", "InstallFinalize", None),
    ("RemoveDesktopIniReadOnly", "InstallExecuteSequence", "InstallFinalize", None),
]

# Property -> test of its value.
PROPERTIES = [
    ("ProductName", lambda v: v.startswith("Vantrel Dulon")),
    ("ProductLanguage", lambda v: v in ("1033", "1049", "1036", "1034", "1031")),
    ("FLASHVERSIONNEED", lambda v: v.isdigit() and int(v) >= 1),
    ("CONNECT2007NAME", lambda v: v != ""),
    ("CONNECT2003NAME", lambda v: v != ""),
    ("VANTREL_OLD_CAPTION", lambda v: "[ProductName]" in v),
    ("VANTREL_OLD_MESSAGE", lambda v: "{PRODUCTS}" in v),
    ("WIXUI_EXITDIALOGOPTIONALCHECKBOXTEXT", lambda v: v != ""),
    ("SecureCustomProperties", lambda v: "VANTREL_OLD_DULON" in v.split(";")),
]

EXPORTS = ["addCheckbox", "loadCheckboxValue", "askRemoveOld", "isX64Windows",
           "flashVersionValid", "fixConnect", "removeDesktopIniReadOnlyAttribute",
           "openTrialUrl"]


def table(package, name):
    text = subprocess.run(["msiinfo", "export", package, name], check=True,
                          capture_output=True, text=True).stdout
    rows = []
    # Three header lines (column names, column types, table name and keys);
    # a value with line feeds goes on over lines without a tab.
    for line in text.replace("\r\n", "\n").split("\n")[3:]:
        if "\t" in line:
            rows.append(line.split("\t"))
        elif rows:
            rows[-1][-1] += "\n" + line
    return rows


def check(package, dll, deffile):
    failures = []
    custom = {row[0]: row for row in table(package, "CustomAction")}
    exported = {line.split()[0].split("@")[0] for line in open(deffile)
                if line.strip() and not line.startswith(("LIBRARY", "EXPORTS", ";"))}

    entries = {row[3] for row in custom.values() if int(row[1]) & 0x3F == 1}
    for name in EXPORTS:
        if name not in entries:
            failures.append(f"no DLL action calls {name}")
    for action, row in custom.items():
        if int(row[1]) & 0x3F == 1:
            if row[2] != "SetupAux":
                failures.append(f"{action} calls into {row[2]}, not SetupAux")
            if row[3] not in exported:
                failures.append(f"{action} calls {row[3]}, which setupaux.dll does not export")

    with tempfile.TemporaryDirectory() as scratch:
        carried = os.path.join(scratch, "setupaux.dll")
        extracted = subprocess.run(["msiinfo", "extract", package, "Binary.SetupAux"],
                                   stdout=open(carried, "wb"), stderr=subprocess.DEVNULL)
        if extracted.returncode != 0:
            failures.append("the package carries no Binary.SetupAux")
        elif open(carried, "rb").read() != open(dll, "rb").read():
            failures.append("the package carries another setupaux.dll than the build's")

    sequences = {name: {row[0]: int(row[2]) for row in table(package, name)}
                 for name in ("InstallUISequence", "InstallExecuteSequence")}
    for action, sequence, after, before in PLACES:
        steps = sequences[sequence]
        if action not in steps:
            failures.append(f"{action} is not in {sequence}")
            continue
        if after and not steps.get(after, 10**9) < steps[action]:
            failures.append(f"{action} ({steps[action]}) does not run after {after} in {sequence}")
        if before and not steps[action] < steps.get(before, -1):
            failures.append(f"{action} ({steps[action]}) does not run before {before} in {sequence}")

    properties = {row[0]: row[1] for row in table(package, "Property")}
    for name, valid in PROPERTIES:
        if not valid(properties.get(name, "")):
            failures.append(f"property {name} = {properties.get(name)!r}")

    for failure in failures:
        print("FAIL:", os.path.basename(package), failure)
    print(f"{os.path.basename(package)}: {len(EXPORTS)} exports, {len(PLACES)} places, "
          f"{len(PROPERTIES)} properties checked, {len(failures)} failures")
    return len(failures)


def main(dll, deffile, *packages):
    failures = sum(check(package, dll, deffile) for package in packages)
    return 1 if failures or not packages else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
