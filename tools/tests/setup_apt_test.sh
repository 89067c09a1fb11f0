#!/usr/bin/env bash
# The set-up's package step on a mirror caught mid-sync, run against a stand-in
# apt-get.  setup_apt_test.sh TOOLS_DIR
set -u
tools=$1 failed=0
refused='E: Failed to fetch http://mirror.test/dists/rel-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?'
stubs=$(mktemp -d)
trap 'rm -rf "$stubs"' EXIT
cat >"$stubs/apt-get" <<STUB
#!/bin/sh
# UPDATE_FAILURES: how many updates fail first; INSTALL: plain, suite or never.
case "\$1" in
update)
  n=\$(( \$(cat "\$STATE/updates" 2>/dev/null || echo 0) + 1 )) && echo "\$n" >"\$STATE/updates"
  [ "\$n" -gt "\$UPDATE_FAILURES" ] && exit 0
  echo '$refused' >&2
  echo 'E: Some index files failed to download. They have been ignored, or old ones used instead.' >&2
  exit 100 ;;
install)
  case "\$INSTALL \$*" in plain*|"suite "*" -t testrel "*) exit 0 ;; esac
  echo 'E: Unable to correct problems, you have held broken packages.' >&2
  exit 100 ;;
esac
STUB
printf '#!/bin/sh\nexit 1\n' >"$stubs/dpkg-query"          # nothing is installed
printf '#!/bin/sh\necho i386\n' >"$stubs/dpkg"             # i386 is enabled
printf '#!/bin/sh\necho 0\n' >"$stubs/id"                  # root: no sudo
printf 'VERSION_CODENAME=testrel\n' >"$stubs/os-release"
chmod +x "$stubs"/apt-get "$stubs"/dpkg-query "$stubs"/dpkg "$stubs"/id

# row NAME UPDATE_FAILURES INSTALL EXIT MESSAGE
row() {
  local state output status
  state=$(mktemp -d)
  output=$(env PATH="$stubs:$PATH" STATE="$state" UPDATE_FAILURES="$2" INSTALL="$3" \
    SETUP_APT_PAUSE=0 SETUP_OS_RELEASE="$stubs/os-release" \
    bash -c '. "$1/setup.sh" && install_packages' _ "$tools" 2>&1)
  status=$?
  rm -rf "$state"
  [ "$status" -eq "$4" ] && [[ "$output" == *"$5"* ]] && return
  printf 'FAIL: %s: exit %d, wanted %d and "%s":\n%s\n' "$1" "$status" "$4" "$5" "$output"
  failed=1
}
row "update fails twice then works" 2 plain 0 "apt-get update failed (try 2 of 3)"
row "update fails for good, the install works" 9 plain 0 "these failed: $refused"
row "the install works with the main suite" 9 suite 0 "main suite (testrel) preferred"
row "nothing works" 9 never 1 "could not install the packages; the mirror refused an index: $refused"
exit "$failed"
