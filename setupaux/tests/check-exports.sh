#!/usr/bin/env bash
# Usage: check-exports.sh OBJDUMP DLL DEF
# Fails when the DLL imports anything but Windows system DLLs, or when its
# export table differs from the names in the .def file (without decoration).
set -euo pipefail
objdump=$1 dll=$2 def=$3
dump=$("$objdump" -p "$dll")

allowed='^(kernel32|user32|advapi32|shell32|ole32|oleaut32|msi|msvcrt)\.dll$'
status=0
while read -r name; do
  if ! [[ ${name,,} =~ $allowed ]]; then
    echo "unexpected import: $name"
    status=1
  fi
done < <(sed -n 's/^\s*DLL Name: //p' <<<"$dump")

expected=$(sed -n 's/^\s\+\([A-Za-z][A-Za-z0-9_]*\)@[0-9]\+\s*$/\1/p' "$def" | sort)
actual=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^\s*\[\s*[0-9]\+\] //p' <<<"$dump" | sort)
if [ "$expected" != "$actual" ]; then
  echo "exports differ from $def:"
  diff <(echo "$expected") <(echo "$actual") || true
  status=1
fi
[ $status -eq 0 ] && echo "imports and exports as expected: $(echo $actual)"
exit $status
