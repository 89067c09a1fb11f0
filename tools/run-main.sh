#!/usr/bin/env bash
# The main job: sets up the machine, builds everything and runs the demo, in
# which bootfetch.exe downloads the sample package from a local server and
# the Windows Installer installs it with every setupaux action (see
# tools/run-demo.sh; arguments such as --url URL go to it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exec bash "$root/tools/run-demo.sh" "$@"
