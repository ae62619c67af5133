#!/usr/bin/env bash
# Takes the README's pictures: the main window, and each dialog over it.
# Writes docs/*.png. Needs a built tree (scripts/build.sh).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
. scripts/wine-prefix.sh
mkdir -p docs
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -e
  root="$1"
  tool="$root/build/windows/tools/window_tool.exe"
  shoot() {  # caption file
    wine "$tool" wait "$1" 30000
    sleep 1  # let the first paint finish
    import -window root -crop 560x420+232+174 +repage "$root/docs/$2"
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
' shots "$root"
ls -1 docs/*.png
