#!/usr/bin/env bash
# Builds everything from a clean checkout on Debian 12 (as root): packages, the number
# database, the native tool and tests (plain and with sanitizers), SQLite for Windows,
# the Wine prefix, and both Windows builds with their dist/ folders.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

bash scripts/setup.sh

# Each preset (CMakePresets.json) builds into build/<preset>. Configuring always runs again:
# it takes a second and picks up folders added since.
build_preset() {
  local preset=$1 dir=build/$1
  cmake --preset "$preset" >"$dir.configure.log" 2>&1 \
    || { cat "$dir.configure.log" >&2; echo "configure failed, see $dir.configure.log" >&2; exit 1; }
  cmake --build "$dir" >"$dir.build.log" 2>&1 \
    || { grep -E 'error|Error|FAILED' "$dir.build.log" | head -40 >&2; echo "build failed, see $dir.build.log" >&2; exit 1; }
}

mkdir -p build
# The native build also makes build/data/mobile.dat, which the Windows builds ship.
build_preset native
build_preset native-asan

bash scripts/sqlite-amalgamation.sh
bash scripts/wine-prefix.sh
build_preset win32
build_preset win64
