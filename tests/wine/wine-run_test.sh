#!/usr/bin/env bash
# Checks the Wine runner (cmake/wine-run.sh) with a probe program: exit codes pass through, the
# working directory is kept, a program that never ends is killed at the time-out, the private
# Xvfb is gone afterwards, a missing prefix is reported, and parallel runs do not disturb each other.
# Usage: wine-run_test.sh RUNNER PROBE_EXE
set -u
runner=$1
probe=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

work=$(mktemp -d /tmp/wine-run-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"

for code in 0 3 255; do
  "$runner" "$probe" exit "$code"
  rc=$?
  [[ $rc -eq $code ]] || fail "exit code $code came back as $rc"
done

"$runner" "$probe" touch marker.txt || fail "probe could not write into the working directory"
[[ -f "$work/marker.txt" ]] || fail "probe did not run in the caller's working directory"

out=$("$runner" "$probe" display) || fail "probe saw no display"
display=${out#DISPLAY=:}
display=${display%%[.$'\r']*}
if [[ -z "$display" || "$display" == "$out" ]]; then
  fail "unexpected display report '$out'"
elif [[ -e "/tmp/.X11-unix/X$display" || -e "/tmp/.X$display-lock" ]]; then
  fail "Xvfb on :$display still runs after the program ended"
fi

start=$SECONDS
err=$(TESSARON_TEST_TIMEOUT=3 "$runner" "$probe" hang 2>&1)
rc=$?
[[ $rc -ne 0 ]] || fail "a message box nobody closes ended with success"
[[ "$err" == *"timed out after 3 s"* ]] || fail "no time-out message: $err"
(( SECONDS - start <= 15 )) || fail "time-out of 3 s took $((SECONDS - start)) s"
if ps -eo args= | grep -F "$(basename "$probe") hang" | grep -vq grep; then
  fail "the timed-out program still runs"
fi

err=$(TESSARON_WINEPREFIX="$work/no-prefix" "$runner" "$probe" exit 0 2>&1)
rc=$?
[[ $rc -ne 0 ]] || fail "a missing prefix was not reported as failure"
[[ "$err" == *"wine-prefix.sh"* ]] || fail "missing prefix message does not say what to run: $err"

# One run ends, and takes its Xvfb down, while the other still has a window open.
"$runner" "$probe" window 4000 & long=$!
"$runner" "$probe" window 1000 & short=$!
wait "$short" || fail "the shorter of two parallel runs failed"
wait "$long" || fail "the longer of two parallel runs failed after the other one ended"

if (( failures )); then
  echo "$failures runner check(s) failed"
  exit 1
fi
echo "runner checks passed"
