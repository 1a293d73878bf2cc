#!/usr/bin/env bash
# Prepares the 64-bit Wine prefix the Windows tests run in: zh_CN locale (code page 936),
# a CJK font standing in for SimSun, Wine's own fonts, no prompts, no crash dialog.
# Usage: scripts/wine-prefix.sh [PREFIX]   (default: $TESSARON_WINEPREFIX or <repo>/build/wine)
# Generating the locale needs root; the prefix itself does not.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(dirname "$here")
prefix=$(realpath -m "${1:-${TESSARON_WINEPREFIX:-$repo/build/wine}}")
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
stamp="$prefix/.tessaron-stamp"
# The stamp holds this script's digest: editing the settings below redoes them, nothing else does.
digest=$(sha256sum "${BASH_SOURCE[0]}" | cut -d' ' -f1)

say() { echo "wine-prefix: $*" >&2; }

ensure_locale() {
  if locale -a 2>/dev/null | grep -qix 'zh_CN\.utf-\?8'; then
    return
  fi
  if [[ $EUID -ne 0 ]]; then
    say "the zh_CN.UTF-8 locale is missing; run this script as root once to generate it"
    exit 1
  fi
  if grep -qE '^[#[:space:]]*zh_CN\.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    sed -i -E 's/^[#[:space:]]*(zh_CN\.UTF-8 UTF-8)/\1/' /etc/locale.gen
  else
    echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  fi
  locale-gen >/dev/null
}

ensure_locale
if [[ -f "$stamp" && "$(cat "$stamp")" == "$digest" ]]; then
  exit 0
fi

export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
# No Mono or Gecko download prompts, and no menu entries or file associations outside the prefix.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Creating the prefix needs no display; unsetting it keeps wineboot from opening windows.
unset DISPLAY

log=$(mktemp /tmp/wine-prefix.XXXXXX)
trap 'rm -f "$log"' EXIT
run() {
  if ! "$@" >>"$log" 2>&1; then
    say "failed: $*"
    tail -n 40 "$log" >&2
    exit 1
  fi
}

mkdir -p "$prefix"
run timeout 300 "$wine" wineboot.exe --init
run timeout 120 "$wineserver" -w

# Wine links the user's folders (Desktop, Documents, ...) to the home directory; tests must
# not write there, so they become plain folders inside the prefix.
for link in "$prefix"/drive_c/users/*/*; do
  if [[ -L "$link" ]]; then
    rm "$link"
    mkdir "$link"
  fi
done

# Without Wine's own fonts (Marlett above all) caption buttons and check marks draw as garbage.
fonts="$prefix/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp -f /usr/share/wine/fonts/* "$fonts/"
# The CJK font is linked in, so the prefix does not depend on fontconfig finding it.
ln -sf /usr/share/fonts/truetype/arphic/uming.ttc "$fonts/uming.ttc"

cjk_font="AR PL UMing CN"
reg="$prefix/tessaron.reg"
{
  printf 'Windows Registry Editor Version 5.00\n\n'
  # Programs written for Chinese Windows ask for these faces by name; a replacement keeps
  # the asked-for name, as the real font would.
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\n'
  for face in 宋体 新宋体 SimSun NSimSun; do
    printf '"%s"="%s"\n' "$face" "$cjk_font"
  done
  # Wine places and draws its windows itself: the Xvfb runs no window manager.
  printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Managed"="N"\n'
  # A crashing test ends with its exit code instead of waiting on a dialog.
  printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\n"ShowCrashDialog"=dword:00000000\n'
} | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE > "$reg.body"
{ printf '\xff\xfe'; cat "$reg.body"; } > "$reg"
rm -f "$reg.body"
run timeout 120 "$wine" regedit.exe /S "$reg"
run timeout 120 "$wineserver" -w
rm -f "$reg"

echo "$digest" > "$stamp"
say "prepared Wine prefix $prefix"
