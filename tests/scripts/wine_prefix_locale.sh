#!/usr/bin/env bash
# A shell that cannot switch to the German locale although the system has it
# (it mapped glibc's locale archive before scripts/deps.sh generated the
# locale) sources scripts/wine-prefix.sh: it prints nothing, and the programs
# it starts get LC_ALL=de_DE.UTF-8. LOCPATH pointing nowhere plays the shell
# that finds no locale, a `locale` command listing de_DE.utf8 the system that
# has it; a prefix marked ready keeps Wine out of it.
set -euo pipefail
tree="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/scripts" "$work/bin" "$work/build/wine/prefix-96/dosdevices"
cp "$tree/scripts/wine-prefix.sh" "$work/scripts/"
touch "$work/build/wine/prefix-96/.vorlind-ready"
printf '#!/bin/sh\nprintf "C\\nPOSIX\\nde_DE.utf8\\n"\n' >"$work/bin/locale"
chmod +x "$work/bin/locale"
output="$(env -i PATH="$work/bin:$PATH" LANG=C LOCPATH="$work/nowhere" \
  bash -c '. "$1/scripts/wine-prefix.sh" && env' shell "$work" 2>&1)"
status=0
grep -qx 'LC_ALL=de_DE.UTF-8' <<<"$output" || { echo "LC_ALL=de_DE.UTF-8 is not handed on"; status=1; }
if grep -i 'locale' <<<"$output" | grep -v '^LC_ALL='; then status=1; fi
exit "$status"
