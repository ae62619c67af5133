#!/usr/bin/env bash
# Takes the README's pictures: the main window, and each dialog over it.
# Writes docs/*.png, or into $SHOTS_DIR; WINE_DPI=144 takes them at 144 DPI.
# Needs a built tree (scripts/build.sh).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
. scripts/wine-prefix.sh
out="${SHOTS_DIR:-$root/docs}"
mkdir -p "$out"
# The middle of the 1024x768 virtual desktop, larger at higher DPI.
CROP="$(( 560 * ${WINE_DPI:-96} / 96 ))x$(( 420 * ${WINE_DPI:-96} / 96 ))+$(( 512 - 280 * ${WINE_DPI:-96} / 96 ))+$(( 384 - 210 * ${WINE_DPI:-96} / 96 ))"
export CROP
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -e
  root="$1"
  out="$2"
  tool="$root/build/windows/tools/window_tool.exe"
  shoot() {  # caption file
    wine "$tool" wait "$1" 30000
    sleep 1  # let the first paint finish
    import -window root -crop ${CROP} +repage "$out/$2"
  }
  wine "$root/build/windows/bin/Vorlind.exe" "C:\\Program Files\\Werkzeug\\Programm.exe" </dev/null >/dev/null 2>&1 &
  shoot Kommandozeile main-window.png
  wine "$tool" command Kommandozeile 202   # Datei > Optionen
  shoot "Dateitypen registrieren" options-dialog.png
  wine "$tool" close "Dateitypen registrieren"
  sleep 1
  wine "$tool" command Kommandozeile 206   # Info > Über Vorlind
  shoot Info about-window.png
  wine "$tool" close Info
  sleep 1
  wine "$tool" close Kommandozeile
  wait
  wineserver -k || true
' shots "$root" "$out"
ls -1 "$out"/*.png
