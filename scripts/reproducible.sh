#!/usr/bin/env bash
# Builds the release a second time, from a copy of the sources in another
# folder with another umask, and compares it byte for byte with the one in
# build/windows: Vorlind.exe, LinkLabel.dll, the archive and SHA256SUMS.
# Builds only what the release holds. Run scripts/build.sh windows first.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
first="$root/build/windows"
other="$(mktemp -d /tmp/vorlind-rebuild.XXXXXX)"
trap 'rm -rf "$other"' EXIT
mkdir "$other/sources"
tar -C "$root" --exclude=./build --exclude=./.git -cf - . | tar -C "$other/sources" -xf -
cd "$other/sources"
umask 0077
werror="-DVORLIND_WERROR=$([ "${WERROR:-0}" = 1 ] && echo ON || echo OFF)"
cmake -S . -B "$other/out" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=MinSizeRel "$werror" >/dev/null
cmake --build "$other/out" -j"$(nproc)" --target release_zip >/dev/null
status=0
for file in bin/Vorlind.exe bin/LinkLabel.dll Vorlind-2.0-win64.zip SHA256SUMS; do
  if cmp "$first/$file" "$other/out/$file"; then
    echo "same: $file"
  else
    echo "DIFFERENT: $file (build/windows against a build in $other/out)"
    status=1
  fi
done
exit $status
