#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (as root, Debian 12).
# Quiet and quick once everything is there.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

mapfile -t wanted < <(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$here/apt-packages.txt")
missing=()
for pkg in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
# The data build fetches npm packages; a machine may already have its own Node.js.
command -v npm >/dev/null || missing+=(nodejs npm)

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}" >&2
  log=$(mktemp)
  if ! { apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"; } >"$log" 2>&1; then
    tail -30 "$log" >&2
    exit 1
  fi
  rm -f "$log"
fi
