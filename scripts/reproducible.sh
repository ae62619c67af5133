#!/usr/bin/env bash
# Builds the release again (only what it holds) from a copy of the sources in
# another folder, later, with another umask, time zone and locale, and
# compares it byte for byte with the one in build/windows. Run
# scripts/build.sh windows first.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
other="$(mktemp -d /tmp/vorlind-rebuild.XXXXXX)"
trap 'rm -rf "$other"' EXIT
mkdir "$other/sources"
tar -C "$root" --exclude=./build --exclude=./.git -cf - . | tar -C "$other/sources" -xf -
cd "$other/sources" && umask 0077
# UTC+14 as a POSIX rule (no time zone data needed), and German unless this
# shell is German already, then C.
case "${LC_ALL:-${LC_CTYPE:-${LANG:-}}}" in de_DE*) locale=C.UTF-8 ;; *) locale=de_DE.UTF-8 ;; esac
export TZ=XST-14 LC_ALL="$locale" LANG="$locale"
cmake -S . -B "$other/out" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build "$other/out" -j"$(nproc)" --target release_zip >/dev/null
status=0
for file in bin/Vorlind.exe bin/LinkLabel.dll Vorlind-2.0-win64.zip SHA256SUMS; do
  cmp "$root/build/windows/$file" "$other/out/$file" && echo "same: $file" || { echo "DIFFERENT: $file"; status=1; }
done
exit $status
