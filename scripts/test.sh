#!/usr/bin/env bash
# Builds and runs every test: the host-native tests (with AddressSanitizer
# and UBSan), the formatter and clang-tidy, then the Windows build's tests
# under Wine on a virtual screen. Every warning is an error here.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
scripts/deps.sh
export WERROR=1

echo "== Host tests"
scripts/build.sh host
ctest --test-dir build/host --output-on-failure -j"$(nproc)"

echo "== Fuzzing, briefly (scripts/fuzz.sh 600 for a long run)"
scripts/fuzz.sh 10

echo "== Windows build, style and static checks"
scripts/build.sh windows
scripts/tidy.sh

echo "== The release rebuilt in another folder, compared byte for byte"
scripts/reproducible.sh

echo "== Windows tests under Wine"
. scripts/wine-prefix.sh
xvfb-run -a -s "-screen 0 1280x1024x24" scripts/wine-ctest.sh

echo "== The windows' layout again at 144 DPI"
WINE_DPI=144 . scripts/wine-prefix.sh
xvfb-run -a -s "-screen 0 1280x1024x24" scripts/wine-ctest.sh -R "Layout|Dialogs\.(Options|About|Cancel)"
