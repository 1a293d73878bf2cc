#!/usr/bin/env bash
# Builds SQLite's amalgamation (sqlite3.c, sqlite3.h) from Debian's source package into OUTDIR.
# Usage: scripts/sqlite-amalgamation.sh [OUTDIR]   (default: <repo>/build/sqlite/amalgamation)
# Needs root the first time on a machine without deb-src lines (it adds them and updates apt).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(dirname "$here")
# shellcheck source=versions.env
. "$here/versions.env"
outdir=$(realpath -m "${1:-$repo/build/sqlite/amalgamation}")
stamp="$outdir/.stamp"

# The stamp names the upstream version, so changing the pin rebuilds and nothing else does.
if [[ -f "$stamp" && "$(cat "$stamp")" == "$SQLITE_VERSION" \
      && -f "$outdir/sqlite3.c" && -f "$outdir/sqlite3.h" ]]; then
  exit 0
fi

say() { echo "sqlite-amalgamation: $*" >&2; }

# Source lines are derived from the machine's own binary lines so no mirror is named here.
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
src_list_deb822=/etc/apt/sources.list.d/tessaron-deb-src.sources
src_list_oneline=/etc/apt/sources.list.d/tessaron-deb-src.list

have_deb_src() {
  grep -qsE '^[[:space:]]*(Types:.*deb-src|deb-src[[:space:]])' \
    /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources
}

add_deb_src() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [[ -f "$f" ]] || continue
    # Copy every enabled stanza of this release and its -updates/-security suites as deb-src.
    awk -v rel="$codename" '
      BEGIN { RS = ""; ORS = "\n\n" }
      $0 ~ ("Suites:[^\n]*" rel) && $0 ~ /Types:[^\n]*deb/ && $0 !~ /Enabled:[ \t]*no/ {
        out = ""
        n = split($0, line, "\n")
        for (i = 1; i <= n; i++) {
          if (line[i] ~ /^#/) continue
          if (line[i] ~ /^Types:/) line[i] = "Types: deb-src"
          out = out line[i] "\n"
        }
        printf "%s\n", out
      }' "$f"
  done > "$src_list_deb822.tmp"
  if [[ -s "$src_list_deb822.tmp" ]]; then
    mv "$src_list_deb822.tmp" "$src_list_deb822"
  else
    rm -f "$src_list_deb822.tmp"
  fi
  if [[ -f /etc/apt/sources.list ]]; then
    sed -nE "s/^[[:space:]]*deb[[:space:]]+(.*[[:space:]]$codename(-updates|-security)?[[:space:]].*)$/deb-src \1/p" \
      /etc/apt/sources.list > "$src_list_oneline.tmp"
    if [[ -s "$src_list_oneline.tmp" ]]; then
      mv "$src_list_oneline.tmp" "$src_list_oneline"
    else
      rm -f "$src_list_oneline.tmp"
    fi
  fi
  if ! have_deb_src; then
    say "found no '$codename' lines in /etc/apt to derive deb-src lines from"
    exit 1
  fi
}

# Newest Debian revision of the pinned upstream version, e.g. 3.40.1-2+deb12u2.
debian_version() {
  apt-cache showsrc sqlite3 2>/dev/null \
    | sed -n 's/^Version: //p' \
    | grep -E "^([0-9]+:)?${SQLITE_VERSION//./\\.}-" \
    | sort -V | tail -n 1
}

version=$(debian_version || true)
if [[ -z "$version" ]]; then
  have_deb_src || add_deb_src
  apt-get update -qq
  version=$(debian_version || true)
fi
if [[ -z "$version" ]]; then
  say "Debian offers no source of sqlite3 $SQLITE_VERSION (apt-cache showsrc sqlite3)"
  exit 1
fi

work=$(mktemp -d /tmp/sqlite-src.XXXXXX)
trap 'rm -rf "$work"' EXIT
# apt drops root privileges to _apt for the download; it must be able to write here.
chmod 755 "$work"
log="$work/log"

run() {
  if ! "$@" >>"$log" 2>&1; then
    say "failed: $*"
    tail -n 40 "$log" >&2
    exit 1
  fi
}

cd "$work"
run apt-get source -qq "sqlite3=$version"
srcdir=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'sqlite3-*' | head -n 1)
mkdir "$work/build"
cd "$work/build"
# The TCL extension is not wanted; tclsh itself is still needed to generate the amalgamation.
run "$srcdir/configure" --disable-tcl
run make sqlite3.c

built=$(sed -n 's/^#define SQLITE_VERSION[[:space:]]*"\(.*\)"/\1/p' sqlite3.h)
if [[ "$built" != "$SQLITE_VERSION" ]]; then
  say "source $version built SQLite '$built', expected $SQLITE_VERSION"
  exit 1
fi

mkdir -p "$outdir"
cp sqlite3.c sqlite3.h "$outdir/"
echo "$SQLITE_VERSION" > "$stamp"
say "built SQLite $SQLITE_VERSION amalgamation from Debian source $version in $outdir"
