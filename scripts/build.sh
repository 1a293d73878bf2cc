#!/usr/bin/env bash
# Builds everything from a clean checkout on Debian 12 (as root): packages, the number
# database, the native tool and tests (plain and with sanitizers), SQLite for Windows,
# the Wine prefix, and both Windows builds with their dist/ folders.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

bash scripts/setup.sh

configure() {  # build-dir, then extra cmake arguments
  local dir=$1; shift
  # Always re-run: a second configure takes a second and picks up folders added since.
  cmake -S . -B "$dir" -G Ninja "$@" >"$dir.configure.log" 2>&1 \
    || { cat "$dir.configure.log" >&2; rm -rf "$dir"; exit 1; }
}
build() {
  local log=$1.build.log
  cmake --build "$1" >"$log" 2>&1 || { grep -E 'error|Error|FAILED' "$log" | head -40 >&2; echo "build failed, see $log" >&2; exit 1; }
}

mkdir -p build
configure build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo
build build/native
configure build/native-asan -DCMAKE_BUILD_TYPE=Debug -DTESSARON_SANITIZE=ON -DTESSARON_BUILD_DATA=OFF
build build/native-asan

bash scripts/sqlite-amalgamation.sh
bash scripts/wine-prefix.sh
for target in win32:i686 win64:x86_64; do
  dir=build/${target%%:*}
  configure "$dir" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchain-${target#*:}-w64-mingw32.cmake"
  build "$dir"
done
