#!/usr/bin/env bash
# Prepares the throwaway Wine prefix that runs and tests Vorlind. It lives in
# build/, never in ~/.wine. Source it: it exports WINEPREFIX and friends.
#   WINE_DPI=144 . scripts/wine-prefix.sh   gives a prefix at another DPI.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dpi="${WINE_DPI:-96}"
export WINEPREFIX="$root/build/wine/prefix-$dpi"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine runs with a German locale (code page 1252, German texts). A shell that
# mapped glibc's locale archive before scripts/deps.sh generated the locale
# keeps that old mapping: it cannot switch to the locale itself and warns,
# while every program it starts maps the archive anew and can. So once the
# locale exists, this shell's own complaint is no news and stays quiet.
if locale -a 2>/dev/null | grep -qi '^de_DE\.utf8$'; then
  export LC_ALL=de_DE.UTF-8 2>/dev/null
else
  export LC_ALL=de_DE.UTF-8
fi

# The marker names what the prefix holds: a prefix made before drive S: was
# a removable drive is made anew.
wine_prefix_ready() { [ -f "$WINEPREFIX/.vorlind-ready-2" ]; }

wine_prefix_create() {
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  echo "Creating Wine prefix $WINEPREFIX (once, about 15 s)"
  wineboot --init </dev/null >/dev/null 2>&1
  wineserver -w
  local reg=C:\\windows\\system32\\reg.exe
  # A virtual desktop gives windows frames and captions without a window
  # manager, and hiding a window does not stall.
  wine $reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
  wine $reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null
  # A crash must end the process, not wait in the debugger's dialog.
  wine $reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
  # Wine's own fonts (MS Sans Serif, Tahoma, ...) are not found where the
  # Debian package puts them; in the prefix's font folder they are.
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  wine $reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
  wineserver -w
  # Drive S: is a removable drive: its type is read when the prefix's mount
  # manager starts, not while a test runs.
  wine $reg add 'HKLM\Software\Wine\Drives' /v s: /d floppy /f >/dev/null
  wineserver -w
  touch "$WINEPREFIX/.vorlind-ready-2"
}

wine_prefix_ready || wine_prefix_create

# Drive R: is a folder of the build, so tests can run the program from the
# root of a drive.
mkdir -p "$root/build/drive-root"
ln -sfn "$root/build/drive-root" "$WINEPREFIX/dosdevices/r:"
mkdir -p "$root/build/removable"
ln -sfn "$root/build/removable" "$WINEPREFIX/dosdevices/s:"
