#!/usr/bin/env bash
# Installs, on Debian, whatever the build and the tests need and is missing.
# Safe to run again: it only calls apt-get when a tool is absent.
set -euo pipefail

need=()
have() { command -v "$1" >/dev/null 2>&1; }
have cmake                          || need+=(cmake)
have make                           || need+=(make)
have g++                            || need+=(g++)
have x86_64-w64-mingw32-g++-posix   || need+=(g++-mingw-w64-x86-64-posix)
have x86_64-w64-mingw32-gcc-posix   || need+=(gcc-mingw-w64-x86-64-posix)
have x86_64-w64-mingw32-windres     || need+=(binutils-mingw-w64-x86-64)
have wine                           || need+=(wine wine64)
[ -x /usr/lib/wine/wine64 ]           || need+=(wine64)
have xvfb-run                       || need+=(xvfb)
have xauth                          || need+=(xauth)
have import                         || need+=(imagemagick)
have clang++                        || need+=(clang)
have clang-format                   || need+=(clang-format)
have clang-tidy                     || need+=(clang-tidy)
have git                            || need+=(git)
have zip                            || need+=(zip)
compgen -G "/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null || need+=(libclang-rt-dev)
[ -f /usr/share/wine/fonts/sserife.fon ]  || need+=(fonts-wine)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
locale -a 2>/dev/null | grep -qi '^de_DE.utf8$' || need+=(locales)

export DEBIAN_FRONTEND=noninteractive
sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ ${#need[@]} -gt 0 ]; then
  echo "Installing: ${need[*]}"
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# Wine runs with a German locale (code page 1252, German texts).
if ! locale -a 2>/dev/null | grep -qi '^de_DE.utf8$'; then
  $sudo sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
