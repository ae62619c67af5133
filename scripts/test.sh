#!/usr/bin/env bash
# Builds and runs every test: the host-native tests (with AddressSanitizer
# and UBSan), then the Windows build's tests under Wine on a virtual screen.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
scripts/deps.sh

echo "== Host tests"
scripts/build.sh host
ctest --test-dir build/host --output-on-failure -j"$(nproc)"

echo "== Fuzzing, briefly (scripts/fuzz.sh 600 for a long run)"
scripts/fuzz.sh 10

echo "== Windows build and tests under Wine"
scripts/build.sh windows
. scripts/wine-prefix.sh
xvfb-run -a -s "-screen 0 1280x1024x24" scripts/wine-ctest.sh

echo "== The windows' layout again at 144 DPI"
WINE_DPI=144 . scripts/wine-prefix.sh
xvfb-run -a -s "-screen 0 1280x1024x24" scripts/wine-ctest.sh -R "Layout|Dialogs\.(Options|About|Cancel)"
