#!/usr/bin/env bash
# Builds Vorlind and runs it under Wine. Arguments are handed to Vorlind as its
# command line. With a display it opens there; without one it runs on a
# virtual screen, saves a screenshot under build/ and closes again.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
scripts/deps.sh
scripts/build.sh windows
. scripts/wine-prefix.sh
exe="$root/build/windows/bin/Vorlind.exe"
args=("$@")
[ ${#args[@]} -gt 0 ] || args=('C:\windows\notepad.exe')

if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe" "${args[@]}"
fi

shot="$root/build/vorlind-main-window.png"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -e
  wine "$1" "${@:3}" </dev/null >/dev/null 2>&1 &
  tool="'"$root"'/build/windows/tools/window_tool.exe"
  wine "$tool" wait Kommandozeile 60000
  sleep 1  # let the first paint finish
  import -window root "$2"
  wine "$tool" close Kommandozeile
  wait
  wineserver -k || true
' run "$exe" "$shot" "${args[@]}"
echo "No display: Vorlind ran on a virtual screen. Screenshot: $shot"
