#!/usr/bin/env bash
# The publisher check of a large package signed by the build's certificate,
# next to one SHA-256 pass over the same file, in the same Wine. The package
# holds one file of random bytes, stored as wixl stores it; the signed
# bootfetch.exe is the program whose publisher it must share. Wine 8 never
# computes an .msi's digest, so the same bytes appended to a program, whose
# digest Wine does compute, are checked too: the cost Windows has for both.
# Usage: benchmarks/publisher_check.sh BUILD [MIB] [ROUNDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1 mib=${2:-200} rounds=${3:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

head -c "$((mib * 1024 * 1024))" /dev/urandom >"$work/payload.bin"
cat >"$work/large.wxs" <<WXS
<?xml version="1.0"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="*" Name="Large" Language="1033" Version="1.0.0" Manufacturer="Vantrel"
           UpgradeCode="7E4A1C2B-5D3F-4A61-8B9C-0D1E2F3A4B5C">
    <Package InstallerVersion="200" Compressed="yes"/>
    <Media Id="1" Cabinet="large.cab" EmbedCab="yes"/>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Component Id="Payload" Guid="3C2B1A09-8F7E-4D6C-9B5A-493827161504">
        <File Id="Payload" Source="payload.bin"/>
      </Component>
    </Directory>
    <Feature Id="All" Level="1"><ComponentRef Id="Payload"/></Feature>
  </Product>
</Wix>
WXS
# wixl takes a file's source relative to the folder it runs in.
(cd "$work" && wixl -o large-unsigned.msi large.wxs)
cat "$build/bootfetch/unsigned/bootfetch.exe" "$work/payload.bin" >"$work/large-unsigned.exe"
rm "$work/payload.bin"
winpath() { printf 'Z:%s' "${1//\//\\}"; }
for kind in msi exe; do
  python3 "$here/../tools/codesign.py" sign "$build/signing" "$work/large-unsigned.$kind" \
    "$work/large.$kind"
  rm "$work/large-unsigned.$kind"
  "$build/wine-run" "$build/benchmarks/publisher_check_benchmark.exe" \
    "$(winpath "$build/bootfetch/bootfetch.exe")" "$(winpath "$work/large.$kind")" "$rounds" |
    tr -d '\r' | sed "s/^publisher check/publisher check .$kind/"
  rm "$work/large.$kind"
done
