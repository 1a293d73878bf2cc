#!/usr/bin/env bash
# Remakes the README's pictures in docs/ from the real x86_64 program under Wine on a private
# Xvfb: lookup.png (a found number), message.png (the bad-number message over the dialog),
# about.png (the About box). Builds nothing: run scripts/build.sh first. Run it again, and
# commit the pictures, whenever the look changes.
# No -e: the driver's checks are conditions, and it reports its own failures.
set -uo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dist=$repo/build/win64/dist
docs=$repo/docs

driver_name=screenshots
# shellcheck source=SCRIPTDIR/../tests/e2e/driver.sh
source "$repo/tests/e2e/driver.sh" || exit 1
trap driver_cleanup EXIT

[[ -f "$dist/Tessaron.exe" ]] || driver_fail "no $dist/Tessaron.exe: run scripts/build.sh first"
driver_wine_env
driver_start_xvfb
driver_start_program "$dist"

dialog=$driver_dialog_caption
# Under Xvfb Wine draws a new window's caption inactive until it is activated again; a box
# opened and closed gives it the active look it has on a desktop from the start.
driver_keys F1
driver_wait_until "F1 did not open the About box" driver_has_window "关于 Tessaron"
driver_keys Escape
driver_wait_until "the About box did not close" driver_no_window "关于 Tessaron"

found() { [[ "$(driver_field 1001)" == 北京 ]] && driver_enabled 1006; }

driver_enter_number 13800138000
driver_keys Return
driver_wait_until "13800138000 was not found" found
driver_screenshot "$dialog" "$docs/lookup.png"

driver_enter_number 1880013
driver_keys Return
driver_wait_until "no bad-number message" driver_box_shows 手机号码归属地查询 请输入正确的手机号码，至少输入前七位！
driver_screenshot "$dialog" "$docs/message.png"
driver_keys Return
driver_wait_until "the message did not close" driver_enabled window

driver_keys F1
driver_wait_until "F1 did not open the About box" driver_has_window "关于 Tessaron"
driver_screenshot "关于 Tessaron" "$docs/about.png"
driver_keys Escape
driver_wait_until "the About box did not close" driver_no_window "关于 Tessaron"

driver_keys Escape
driver_wait_exit
for picture in lookup message about; do
  echo "$docs/$picture.png"
done
