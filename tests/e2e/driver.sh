# Drives the real Tessaron.exe under wine64 on a private Xvfb, the way a user would: keys and
# clicks through xdotool, outcomes read back by window_texts.exe from another process.
# Sourced (bash) by the end-to-end test, scripts/run.sh and scripts/screenshots.sh.
#
# Environment: TESSARON_WINEPREFIX (default <repo>/build/wine), the prefix scripts/wine-prefix.sh
# made, of which each run uses a private copy. Every wait gives up after driver_wait_limit
# seconds. driver_cleanup ends everything the driver started; callers run it from their EXIT
# trap.
# shellcheck shell=bash

driver_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
driver_wine=/usr/lib/wine/wine64
driver_wait_limit=20
driver_tmp=$(mktemp -d /tmp/tessaron-driver.XXXXXX)
driver_xvfb_pid=
driver_program_pid=
driver_program_dir=
driver_texts_exe=
driver_windows=

driver_fail() {
  echo "${driver_name:-driver}: $*" >&2
  if [[ -n "$driver_windows" ]]; then
    echo "windows on screen (caption, id, enabled, rectangle, text):" >&2
    printf '%s\n' "$driver_windows" >&2
  fi
  if [[ -s "$driver_tmp/program.log" ]]; then
    echo "the program's output:" >&2
    tail -n 20 "$driver_tmp/program.log" >&2
  fi
  exit 1
}

# Makes Wine run in a private copy of the project's prefix, in the Chinese (code page 936)
# locale, quietly. The copy has its own registry files and shares drive C: with the project's
# prefix; being another folder, it gets a wineserver of its own. Other programs of the shared
# server (tests running in parallel on their own displays) would otherwise take the
# foreground, and with it the keys typed here.
driver_wine_env() {
  local shared
  shared=$(realpath -m "${TESSARON_WINEPREFIX:-$driver_repo/build/wine}")
  [[ -f "$shared/.tessaron-stamp" ]] || driver_fail "no prepared Wine prefix at $shared (scripts/wine-prefix.sh makes it)"
  local prefix=$driver_tmp/wine
  mkdir -p "$prefix/dosdevices"
  cp -p "$shared"/*.reg "$shared/.update-timestamp" "$prefix/"
  ln -s "$shared/drive_c" "$prefix/drive_c"
  ln -s ../drive_c "$prefix/dosdevices/c:"
  ln -s / "$prefix/dosdevices/z:"
  export WINEPREFIX="$prefix" WINEARCH=win64 LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  # Started here, before any Wine program: two of them starting a new prefix's server at
  # once can make one fail ("chdir to .../server-...: no such file").
  timeout 30 /usr/lib/wine/wineserver64 || driver_fail "the private wineserver did not start"
}

# Starts an Xvfb of our own and points DISPLAY at it; -displayfd picks a free display number,
# so parallel runs never collide.
driver_start_xvfb() {
  local fifo=$driver_tmp/display display=
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" </dev/null >/dev/null 2>&1 &
  driver_xvfb_pid=$!
  read -r -t "$driver_wait_limit" display <"$fifo" || true
  [[ -n "$display" ]] || driver_fail "Xvfb did not start"
  export DISPLAY=":$display"
}

# driver_start_program FOLDER [TEXTS_EXE]: runs FOLDER/Tessaron.exe with FOLDER as its current
# directory (where it looks for mobile.dat) and waits for its lookup dialog. TEXTS_EXE is
# window_texts.exe (default: the x86_64 build's).
driver_start_program() {
  driver_program_dir=$(realpath "$1")
  driver_texts_exe=${2:-$driver_repo/build/win64/bin/window_texts.exe}
  [[ -f "$driver_texts_exe" ]] || driver_fail "no $driver_texts_exe (the x86_64 build makes it)"
  # timeout(1) gives the program a process group of its own, which driver_cleanup ends whole;
  # the limit keeps a lost program from outliving a killed script.
  (cd "$driver_program_dir" && exec timeout -k 5 300 "$driver_wine" Tessaron.exe) \
    >"$driver_tmp/program.log" 2>&1 &
  driver_program_pid=$!
  driver_wait_until "the lookup dialog did not open" driver_dialog_ready
}

# Reads what the program's windows show into driver_windows.
driver_read_windows() {
  local folder="Z:${driver_program_dir//\//\\}"
  driver_windows=$(timeout 30 "$driver_wine" "$driver_texts_exe" "$folder" 2>/dev/null) \
    || driver_fail "window_texts.exe failed"
}

# driver_wait_until MESSAGE COMMAND [ARGS]: reads the windows until COMMAND succeeds.
driver_wait_until() {
  local message=$1; shift
  local deadline=$((SECONDS + driver_wait_limit))
  while :; do
    driver_read_windows
    "$@" && return 0
    ((SECONDS < deadline)) || driver_fail "$message (after $driver_wait_limit s)"
    sleep 0.2
  done
}

# The lines of top-level windows whose caption matches the extended regex CAPTION.
driver_lines_of() {
  printf '%s\n' "$driver_windows" | awk -F'\t' -v re="^($1)\$" '$1 ~ re'
}

# The lookup dialog is the window holding the number field (1000); its caption's tail is the
# maker's notice, so it is matched by its start.
driver_dialog_caption='手机号码归属地查询 - .*'

driver_has_control() {
  driver_lines_of "$driver_dialog_caption" | awk -F'\t' -v id="$1" '$2 == id { ok = 1 } END { exit !ok }'
}
driver_dialog_ready() { driver_has_control 1000; }

# driver_field ID: the text of the dialog's control ID.
driver_field() {
  driver_lines_of "$driver_dialog_caption" | awk -F'\t' -v id="$1" '$2 == id { print $5; exit }'
}

# driver_enabled ID: succeeds when the dialog's control ID (or "window") is enabled.
driver_enabled() {
  driver_lines_of "$driver_dialog_caption" | awk -F'\t' -v id="$1" '$2 == id && $3 == 1 { ok = 1 } END { exit !ok }'
}

# driver_has_window CAPTION: a top-level window with exactly this caption is on screen.
driver_has_window() {
  printf '%s\n' "$driver_windows" | awk -F'\t' -v c="$1" '$1 == c && $2 == "window" { ok = 1 } END { exit !ok }'
}
driver_no_window() { ! driver_has_window "$1"; }

# driver_box_shows CAPTION TEXT: a message box with this caption and text is open.
driver_box_shows() {
  printf '%s\n' "$driver_windows" | awk -F'\t' -v c="$1" -v t="$2" \
    '$1 == c && $2 == 65535 && $5 == t { ok = 1 } END { exit !ok }'
}

# driver_centre CAPTION ID: the screen point at the middle of control ID (or "window") of the
# window whose caption matches CAPTION, as "X Y".
driver_centre() {
  driver_lines_of "$1" | awk -F'\t' -v id="$2" \
    '$2 == id { split($4, r, " "); print int(r[1] + r[3] / 2), int(r[2] + r[4] / 2); exit }'
}

# driver_click CAPTION ID: a left click in the middle of that control.
driver_click() {
  local point
  point=$(driver_centre "$1" "$2")
  [[ -n "$point" ]] || driver_fail "nothing to click: control $2 of \"$1\""
  # shellcheck disable=SC2086  # "X Y" is two arguments
  xdotool mousemove $point click 1
}

driver_keys() { xdotool key --delay 80 "$@"; }
driver_type() { xdotool type --delay 60 "$1"; }

# Replaces the number field's text by typing, after a click into the field.
driver_enter_number() {
  driver_click "$driver_dialog_caption" 1000
  driver_keys End shift+Home BackSpace
  driver_type "$1"
}

# driver_screenshot CAPTION FILE: saves the screen area of the window whose caption matches
# CAPTION as a PNG without time stamps, so an unchanged look gives an unchanged file.
driver_screenshot() {
  local geometry
  geometry=$(driver_lines_of "$1" | awk -F'\t' '$2 == "window" { split($4, r, " "); printf "%dx%d+%d+%d", r[3], r[4], r[1], r[2]; exit }')
  [[ -n "$geometry" ]] || driver_fail "no window \"$1\" to photograph"
  mkdir -p "$(dirname "$2")"
  import -silent -window root -crop "$geometry" +repage -strip "$2" || driver_fail "import failed for $2"
}

# driver_wait_exit: waits for the program to end by itself.
driver_wait_exit() {
  local deadline=$((SECONDS + driver_wait_limit))
  while kill -0 "$driver_program_pid" 2>/dev/null; do
    ((SECONDS < deadline)) || driver_fail "the program did not end (after $driver_wait_limit s)"
    sleep 0.2
  done
  wait "$driver_program_pid" 2>/dev/null
  driver_program_pid=
}

driver_cleanup() {
  if [[ -n "$driver_program_pid" ]]; then
    kill -KILL -- "-$driver_program_pid" 2>/dev/null
    wait "$driver_program_pid" 2>/dev/null
    driver_program_pid=
  fi
  # The private wineserver and every process it still serves (explorer.exe and the like),
  # then the socket folder it leaves in /tmp, named in the prefix.
  if [[ -f "$driver_tmp/wine/wineserver" ]]; then
    timeout 20 /usr/lib/wine/wineserver64 -k 2>/dev/null
    timeout 20 /usr/lib/wine/wineserver64 -w 2>/dev/null
    local sockets
    sockets=$(cat "$driver_tmp/wine/wineserver")
    [[ "$sockets" == wine-?????? ]] && rm -rf "/tmp/$sockets"
  fi
  if [[ -n "$driver_xvfb_pid" ]]; then
    kill "$driver_xvfb_pid" 2>/dev/null
    wait "$driver_xvfb_pid" 2>/dev/null
    driver_xvfb_pid=
  fi
  rm -rf "$driver_tmp"
}
