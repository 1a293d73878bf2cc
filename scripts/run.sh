#!/usr/bin/env bash
# Installs and builds what is needed, then looks up the numbers given on the command line
# (or read from standard input) in the shipped number database.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
bash scripts/build.sh >&2
cd build/data
exec ../native/mobile-lookup "$@"
