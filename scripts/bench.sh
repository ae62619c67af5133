#!/usr/bin/env bash
# Builds Vorlind and its baselines and prints the benchmark table: start-up,
# hand-off, working set, registration, file sizes and imported DLLs.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
scripts/deps.sh
scripts/build.sh windows >/dev/null
. scripts/wine-prefix.sh
bin=build/windows/bin
echo "Machine: $(nproc) cores, $(LC_ALL=C awk '/MemTotal/ {printf "%.0f GiB", $2/1048576}' /proc/meminfo), $(wine --version), $(date -u +%Y-%m-%d)"
echo
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wineserver -p </dev/null >/dev/null 2>&1
  wine cmd /c exit </dev/null >/dev/null 2>&1
  wine build/windows/bench/bench.exe; status=$?
  wineserver -k; wineserver -w
  exit $status'
echo
size() { stat -c %s "$1"; }
kb() { LC_ALL=C awk -v b="$1" "BEGIN { printf \"%.1f KB\", b / 1024 }"; }
printf "| %-14s | %-10s | %-8s | %s\n" file "size" target "imports"
for entry in "Vorlind.exe 88" "LinkLabel.dll 16" ; do
  set -- $entry
  imports=$(x86_64-w64-mingw32-objdump -p "$bin/$1" | awk '/DLL Name/ {print $3}' | tr '\n' ' ')
  printf "| %-14s | %-10s | %-8s | %s\n" "$1" "$(kb "$(size "$bin/$1")")" "$2 KB" "$imports"
done
printf "| %-14s | %-10s | %-8s |\n" minimal.exe "$(kb "$(size build/windows/bench/minimal.exe)")" baseline
printf "| %-14s | %-10s | %-8s |\n" handwritten.exe "$(kb "$(size build/windows/bench/handwritten.exe)")" baseline
