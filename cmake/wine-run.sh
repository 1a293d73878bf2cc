#!/usr/bin/env bash
# CTest emulator of the x86_64 Windows build: runs EXE [ARGS] under wine64 in the project's Wine
# prefix, in the zh_CN locale (code page 936), on an Xvfb of its own, ended after a time-out.
# Environment: TESSARON_WINEPREFIX (default <repo>/build/wine), TESSARON_TEST_TIMEOUT seconds
# (default 120), TESSARON_USE_DISPLAY=1 to show windows on $DISPLAY instead of a private Xvfb;
# a WINEDEBUG already set is kept (err+module names a DLL that fails to load).
set -u

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(dirname "$here")
prefix=$(realpath -m "${TESSARON_WINEPREFIX:-$repo/build/wine}")
time_limit=${TESSARON_TEST_TIMEOUT:-120}
wine=/usr/lib/wine/wine64

if [[ $# -lt 1 ]]; then
  echo "usage: wine-run.sh EXE [ARGS]" >&2
  exit 2
fi
# The stamp is written last by scripts/wine-prefix.sh, so it marks a finished prefix.
if [[ ! -f "$prefix/.tessaron-stamp" ]]; then
  echo "wine-run.sh: no prepared Wine prefix at $prefix; run scripts/wine-prefix.sh first" >&2
  exit 2
fi

export WINEPREFIX="$prefix" WINEARCH=win64 LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

tmp=$(mktemp -d /tmp/wine-run.XXXXXX)
xvfb_pid=
runner_pid=
cleanup() {
  # Ends whatever is left of the program's process group: after a time-out, our own
  # termination, or children the program left behind. Wine's own helper processes run in
  # sessions of their own, so other runs sharing the prefix keep them.
  if [[ -n "$runner_pid" ]]; then
    kill -KILL -- "-$runner_pid" 2>/dev/null
  fi
  if [[ -n "$xvfb_pid" ]]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

if [[ -z "${TESSARON_USE_DISPLAY:-}" ]]; then
  # -displayfd picks a free display number, so parallel runs never collide.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" </dev/null >/dev/null 2>&1 &
  xvfb_pid=$!
  display=
  for ((i = 0; i < 200; i++)); do
    if read -r display 2>/dev/null <"$tmp/display" && [[ -n "$display" ]]; then
      break
    fi
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then
      break
    fi
    sleep 0.05
  done
  if [[ -z "$display" ]]; then
    echo "wine-run.sh: Xvfb did not start" >&2
    exit 2
  fi
  export DISPLAY=":$display"
fi

# The program's output goes through a file: Wine's helper processes (explorer.exe, services.exe,
# the server) inherit it and may outlive the program, and must not hold CTest's pipe open.
# timeout(1) runs the program in a process group of its own, which cleanup() can end as a whole.
timeout --kill-after=5 "$time_limit" "$wine" "$@" <&0 >"$tmp/output" 2>&1 &
runner_pid=$!
wait "$runner_pid"
status=$?
cat "$tmp/output"
if [[ $status -eq 124 || $status -eq 137 ]]; then
  echo "wine-run.sh: $1 timed out after $time_limit s" >&2
fi
exit "$status"
