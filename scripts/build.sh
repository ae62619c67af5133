#!/usr/bin/env bash
# Builds Vorlind for Windows into build/windows (bin/ holds Vorlind.exe and
# LinkLabel.dll). With "host" it builds the host-native tests instead.
# WERROR=1 treats every warning of the product and the tests as an error.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs="$(nproc)"
werror="-DVORLIND_WERROR=$([ "${WERROR:-0}" = 1 ] && echo ON || echo OFF)"
if [ "${1:-windows}" = host ]; then
  cmake -S . -B build/host -DCMAKE_BUILD_TYPE=Debug "$werror" >/dev/null
  cmake --build build/host -j"$jobs"
else
  cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=MinSizeRel "$werror" >/dev/null
  cmake --build build/windows -j"$jobs" ${2:+--target "$2"}
fi
