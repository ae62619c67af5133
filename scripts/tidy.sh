#!/usr/bin/env bash
# Checks the product's sources: the formatter's style (clang-format) and the
# checks in .clang-tidy, with the Windows build's compile commands and the
# MinGW-w64 headers. Needs a configured build/windows (scripts/build.sh).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

echo "clang-format: every C++ file in the tree"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

echo "clang-tidy: every product source"
gcc_dir="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")"
# GCC-only flags in the compile commands (link-time optimisation) mean nothing here.
extra=(--extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-Wno-ignored-optimization-argument)
for dir in include/c++ include/c++/x86_64-w64-mingw32 include/c++/backward; do
  extra+=("--extra-arg=-isystem$gcc_dir/$dir")
done
# GCC's own size options of the link-time optimised code mean nothing to
# clang and are dropped from the commands it reads.
mkdir -p build/tidy
sed -E 's/ -fno-(early-inlining|partial-inlining|tree-pre|tree-ch)//g' build/windows/compile_commands.json \
  >build/tidy/compile_commands.json
status=0
output="$(git ls-files 'platform/*.cpp' 'dialogs/*.cpp' 'registration/*.cpp' 'registry/*.cpp' 'main_window/*.cpp' |
  xargs -P"$(nproc)" -n4 clang-tidy -quiet -p build/tidy "${extra[@]}" 2>&1)" || status=$?
# Counts of warnings in system headers, which the checks do not look at.
grep -Ev '^[0-9]+ warnings? generated\.$' <<<"$output" || true
[ "$status" -eq 0 ] && echo "clean"
exit "$status"
