#!/usr/bin/env bash
# Runs the Windows tests with one warm wineserver for the whole run. Expects
# the environment of scripts/wine-prefix.sh and a display.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# Detached from our output: the services it spawns must not hold CTest's pipe.
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
ctest --test-dir "$root/build/windows" --output-on-failure "$@"
status=$?
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
exit $status
