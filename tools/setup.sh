#!/usr/bin/env bash
# Installs everything the build and the tests need. Safe to run again: steps
# that are already done are skipped, so a second run takes seconds.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cache="$root/.cache"
xerces_prefix="$cache/xerces-mingw32"

say() { printf '[setup] %s\n' "$*"; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# fonts-wine: Wine's own fonts (Marlett draws the caption buttons); the
# packages are installed without the recommendations that would bring it.
packages=(
  g++-mingw-w64-i686 cmake make wine wine32:i386 wine64 fonts-wine xvfb xauth
  xsdcxx libboost-dev googletest msitools wixl dpkg-dev osslsigncode openssl
  python3 imagemagick xdotool iproute2 util-linux
)

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' ||
      printf '%s\n' "$p"
  done
}

install_packages() {
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    say "enabling the i386 architecture (Wine's 32-bit half)"
    as_root dpkg --add-architecture i386
    as_root rm -f /var/lib/apt/periodic/update-success-stamp
  fi
  local missing
  missing=$(missing_packages)
  [ -z "$missing" ] && return 0
  say "installing packages: $(echo $missing)"
  apt_update
  # shellcheck disable=SC2086
  apt_install $missing
}

# A mirror caught mid-sync refuses an index ("File has unexpected size ...
# Mirror sync in progress?") for minutes or days; apt then exits 100 although
# every other index was fetched.
apt_update_tries=3
apt_update_pause=${SETUP_APT_PAUSE:-10} # seconds; the script test sets 0
os_release=${SETUP_OS_RELEASE:-/etc/os-release}
apt_failed_indexes="" # "E: Failed to fetch URL  mirror's message" lines

apt_update() {
  local try log
  log=$(mktemp)
  for ((try = 1; try <= apt_update_tries; try++)); do
    if as_root apt-get update -q 2>&1 | tee "$log"; [ "${PIPESTATUS[0]}" -eq 0 ]; then
      apt_failed_indexes=""
      rm -f "$log"
      return 0
    fi
    apt_failed_indexes=$(grep -E '^[EW]: Failed to fetch' "$log" | sed -E 's/ +Hashes of expected file:.*//' || true)
    [ -n "$apt_failed_indexes" ] || apt_failed_indexes="E: apt-get update failed: $(grep -E '^E:' "$log" | head -n 1)"
    if ((try < apt_update_tries)); then
      say "apt-get update failed (try $try of $apt_update_tries); trying again in ${apt_update_pause} s"
      sleep "$apt_update_pause"
    fi
  done
  rm -f "$log"
  say "going on with the indexes apt has; these failed: $(printf '%s' "$apt_failed_indexes" | tr '\n' ' ')"
}

release_codename() {
  sed -n 's/^VERSION_CODENAME=//p' "$os_release" | tr -d '"' | head -n 1
}

apt_install() {
  local install=(env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends)
  as_root "${install[@]}" "$@" && return 0
  # Without one suite's index (security, updates) the solver mixes that
  # suite's amd64 versions with the release's i386 ones, and the multi-arch
  # pairs Wine needs disagree; the release's own suite has both halves.
  local release
  release=$(release_codename)
  if [ -n "$release" ]; then
    say "the install did not resolve; trying once more with the release's main suite ($release) preferred"
    as_root "${install[@]}" -t "$release" "$@" && return 0
  fi
  echo "[setup] could not install the packages${apt_failed_indexes:+; the mirror refused an index: $apt_failed_indexes}" >&2
  exit 1
}

ensure_deb_src() {
  if grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return 0
  fi
  say "adding a deb-src entry for the Debian archive"
  as_root tee /etc/apt/sources.list.d/bootfetch-deb-src.sources >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  apt_update
}

# Wine runs 32-bit Windows programs in 32-bit Linux processes. Some kernels
# (virtual machines without IA-32 emulation) refuse to start those; there
# they run under a user-mode x86 emulator registered with binfmt_misc. The
# emulator needs MAP_FIXED_NOREPLACE, which only the 10.x line supports, so it
# comes from Debian 13's qemu-user package, unpacked beside the machine's
# other local programs (outside the work tree, so every clone shares it).
qemu_binary=/usr/local/libexec/qemu-i386-user

i386_runs_natively() {
  local probe=/usr/lib/wine/wine
  [ -x "$probe" ] || return 0
  "$probe" --version >/dev/null 2>&1 && return 0
  # Exit 126 with ENOEXEC: the kernel cannot start 32-bit programs.
  [ "$?" -ne 126 ]
}

fetch_qemu() {
  [ -x "$qemu_binary" ] && return 0
  say "fetching a user-mode i386 emulator (Debian 13 qemu-user)"
  local work
  work=$(mktemp -d)
  mkdir -p "$work/lists/partial" "$work/archives/partial"
  cat >"$work/sources.list" <<'SRC'
deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian trixie main
SRC
  # A private apt configuration: the machine's own sources stay untouched.
  local opts=(-o Dir::Etc::SourceList="$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
    -o Dir::State::Lists="$work/lists" -o Dir::Cache::Archives="$work/archives"
    -o Dir::Etc::Preferences=/dev/null -o Dir::Etc::PreferencesParts=/dev/null
    -o APT::Sandbox::User=root -o Debug::NoLocking=1)
  apt-get "${opts[@]}" update -q >/dev/null
  local version
  version=$(apt-cache "${opts[@]}" show qemu-user | awk '/^Version:/ {print $2; exit}')
  (cd "$work" && apt-get "${opts[@]}" download -q "qemu-user=$version" >/dev/null)
  dpkg-deb -x "$work"/qemu-user_*.deb "$work/x"
  as_root install -D -m 755 "$work/x/usr/bin/qemu-i386" "$qemu_binary"
  rm -rf "$work"
}

register_i386_emulator() {
  i386_runs_natively && return 0
  fetch_qemu
  local binfmt=/proc/sys/fs/binfmt_misc
  [ -e "$binfmt/register" ] || as_root mount -t binfmt_misc binfmt_misc "$binfmt"
  if [ -e "$binfmt/qemu-i386" ]; then
    grep -q "interpreter $qemu_binary\$" "$binfmt/qemu-i386" && return 0
    echo -1 | as_root tee "$binfmt/qemu-i386" >/dev/null
  fi
  say "registering the i386 emulator for 32-bit programs"
  local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  printf '%s' ":qemu-i386:M::$magic:$mask:$qemu_binary:F" | as_root tee "$binfmt/register" >/dev/null
}

# Debian's Wine does not look for its fonts where fonts-wine puts them, but it
# reads every font fontconfig knows; a link in fontconfig's local folder
# shows it Wine's fonts in every prefix.
wine_fonts=/usr/share/wine/fonts
wine_fonts_link=/usr/local/share/fonts/wine

link_wine_fonts() {
  [ "$(readlink "$wine_fonts_link" 2>/dev/null)" = "$wine_fonts" ] && return 0
  say "making Wine's fonts visible to fontconfig ($wine_fonts_link)"
  as_root mkdir -p "$(dirname "$wine_fonts_link")"
  as_root ln -sfn "$wine_fonts" "$wine_fonts_link"
}

build_xerces() {
  local stamp="$xerces_prefix/.built"
  # Rebuilt whenever the toolchain or these build steps change.
  local recipe
  recipe=$(cat "$root/cmake/i686-w64-mingw32.cmake" <(declare -f build_xerces) | sha256sum)
  [ "$(cat "$stamp" 2>/dev/null)" = "$recipe" ] && return 0
  ensure_deb_src
  local work="$cache/xerces-build"
  rm -rf "$work" "$xerces_prefix"
  mkdir -p "$work"
  say "fetching Debian's xerces-c source package"
  (cd "$work" && apt-get source -q xerces-c >/dev/null) || {
    echo "[setup] could not fetch the xerces-c source${apt_failed_indexes:+; the mirror refused an index: $apt_failed_indexes}" >&2
    exit 1
  }
  local src
  src=$(find "$work" -maxdepth 1 -mindepth 1 -type d -name 'xerces-c-*' | head -n 1)
  [ -n "$src" ] || { echo "xerces-c source not found" >&2; exit 1; }

  # Built for size, one section per function: bootfetch links only what it uses.
  # The iconv transcoder (the C runtime's conversions) because the Windows one
  # reads the registry's whole charset database each time the library starts,
  # tens of milliseconds before bootfetch's dialog can show. Documents are read
  # by the library's own transcoders either way (UTF-8, UTF-16, UCS-4,
  # US-ASCII, ISO-8859-1, windows-1252, three EBCDIC pages); only other
  # encodings are refused.
  say "cross-building Xerces-C as a static 32-bit Windows library (a few minutes)"
  cmake -S "$src" -B "$work/build" -G "Unix Makefiles" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i686-w64-mingw32.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_C_FLAGS="-ffunction-sections -fdata-sections" \
    -DCMAKE_CXX_FLAGS="-ffunction-sections -fdata-sections" \
    -DBUILD_SHARED_LIBS=OFF \
    -Dnetwork=OFF \
    -Dtranscoder=iconv \
    -Dmessage-loader=inmemory \
    -Dmutex-manager=windows \
    -Dxmlch-type=wchar_t \
    -Dthreads=ON >"$work/configure.log" 2>&1 ||
    { tail -n 40 "$work/configure.log" >&2; exit 1; }
  # Only the library: the test and sample targets do not cross-build cleanly.
  cmake --build "$work/build" --target xerces-c -j "$(nproc)" >"$work/build.log" 2>&1 ||
    { tail -n 40 "$work/build.log" >&2; exit 1; }

  say "installing Xerces-C headers and library into $xerces_prefix"
  mkdir -p "$xerces_prefix/include" "$xerces_prefix/lib"
  (cd "$src/src" && find xercesc \( -name '*.hpp' -o -name '*.c' \) -print0 |
    xargs -0 cp --parents -t "$xerces_prefix/include")
  (cd "$work/build/src" && find xercesc -name '*.hpp' -print0 |
    xargs -0 cp --parents -t "$xerces_prefix/include")
  find "$work/build" -name 'libxerces-c*.a' -exec cp {} "$xerces_prefix/lib/libxerces-c.a" \;
  [ -f "$xerces_prefix/lib/libxerces-c.a" ] || { echo "libxerces-c.a not built" >&2; exit 1; }
  rm -rf "$work"
  echo "$recipe" >"$stamp"
}

# Sourced by the script tests, which call one step on stand-ins.
[ "${BASH_SOURCE[0]}" = "$0" ] || return 0
install_packages
link_wine_fonts
register_i386_emulator
build_xerces
say "ready"
