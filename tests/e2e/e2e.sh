#!/usr/bin/env bash
# End-to-end test of the shipped program: the real Tessaron.exe, run as its own process under
# wine64 on a private Xvfb from a temporary copy of its dist/ folder, driven only by keys and
# clicks; what it shows is read back through window messages by window_texts.exe.
# Usage: e2e.sh DIST_DIR WINDOW_TEXTS_EXE
set -uo pipefail

if [[ $# -ne 2 ]]; then
  echo "usage: e2e.sh DIST_DIR WINDOW_TEXTS_EXE" >&2
  exit 2
fi
dist=$1
texts_exe=$2
driver_name=e2e
# shellcheck source=SCRIPTDIR/driver.sh
source "$(dirname "${BASH_SOURCE[0]}")/driver.sh"

work=$(mktemp -d /tmp/tessaron-e2e.XXXXXX)
trap 'driver_cleanup; rm -rf "$work"' EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

dialog=$driver_dialog_caption
app_caption=手机号码归属地查询
bad_number_text=请输入正确的手机号码，至少输入前七位！
no_database_text=数据文件已损坏，请重新安装！

step() { echo "e2e: [${SECONDS}s] $*"; }

# fields_are PROVINCE CITY TYPE AREACODE POSTCODE
fields_are() {
  [[ "$(driver_field 1001)" == "$1" && "$(driver_field 1002)" == "$2" && "$(driver_field 1005)" == "$3" \
     && "$(driver_field 1003)" == "$4" && "$(driver_field 1004)" == "$5" ]]
}
beijing=(北京 北京 中国移动 010 100000)
no_result=('' '' '' '' '')

idle_with() {  # the dialog takes input again, the query button is enabled, the fields show $@
  driver_enabled window && driver_enabled 1006 && fields_are "$@"
}

driver_wine_env
driver_start_xvfb

# A folder as shipped: a found number, refused numbers, the About box both ways, Esc.
cp -r "$dist" "$work/Tessaron"
step "start"
driver_start_program "$work/Tessaron" "$texts_exe"
driver_wait_until "a fresh dialog has empty fields and an enabled query button" idle_with "${no_result[@]}"

step "found: 13800138000 and Enter"
driver_enter_number 13800138000
driver_keys Return
driver_wait_until "13800138000 did not show 北京 / 中国移动 / 010 / 100000" idle_with "${beijing[@]}"
[[ "$(driver_field 1000)" == 13800138000 ]] || driver_fail "the number field lost its text"

# Too short, and a prefix other than 13 or 15: each is refused before the file is read.
for number in 138001 1880013; do
  step "refused: $number"
  driver_enter_number "$number"
  driver_keys Return
  driver_wait_until "no bad-number message for $number" driver_box_shows "$app_caption" "$bad_number_text"
  driver_enabled window && driver_fail "the dialog takes input behind the message box"
  # The button is enabled again before the box opens, unlike for the other outcomes.
  driver_enabled 1006 || driver_fail "the query button is disabled behind the bad-number message"
  driver_keys Return
  driver_wait_until "after the message for $number the fields changed or the dialog stayed disabled" \
    idle_with "${beijing[@]}"
  driver_no_window "$app_caption" || driver_fail "the message box did not close"
done

# F1 reaches the dialog as WM_HELP only from real keyboard input, as here.
step "About box: F1"
driver_keys F1
driver_wait_until "F1 did not open the About box" driver_has_window "关于 Tessaron"
driver_keys Escape
driver_wait_until "Esc did not close the About box" driver_no_window "关于 Tessaron"
driver_has_control 1000 || driver_fail "Esc in the About box closed the dialog as well"

# Wine puts its own "About Wine" item, also with the access key A, above ours in the system
# menu and runs the first match, so Alt+Space then A opens Wine's box. Up from the menu's top
# wraps to the last item, which is ours.
step "About box: Alt+Space, Up, Enter"
driver_keys alt+space
sleep 0.5
driver_keys Up Return
driver_wait_until "the system menu's last item did not open the About box" driver_has_window "关于 Tessaron"
driver_keys Return
driver_wait_until "Enter did not close the About box" driver_no_window "关于 Tessaron"
driver_wait_until "closing the About box changed the fields" idle_with "${beijing[@]}"

step "close: Esc"
driver_keys Escape
driver_wait_exit

# The data file missing: reported, nothing created, the dialog usable afterwards.
mkdir "$work/no-data"
cp -r "$dist"/. "$work/no-data/"
rm "$work/no-data/mobile.dat"
before=$(cd "$work/no-data" && find . | sort)
step "no mobile.dat: click on 查询"
driver_start_program "$work/no-data" "$texts_exe"
driver_enter_number 13800138000
driver_click "$dialog" 1006
driver_wait_until "no message about the data file" driver_box_shows "$app_caption" "$no_database_text"
driver_enabled 1006 && driver_fail "the query button is enabled while the data-file message is open"
driver_click "$app_caption" 1
driver_wait_until "after the data-file message the dialog is not idle with empty fields" \
  idle_with "${no_result[@]}"

step "close: Alt+F4"
driver_keys alt+F4
driver_wait_exit
after=$(cd "$work/no-data" && find . | sort)
[[ "$before" == "$after" ]] || driver_fail "the folder changed without mobile.dat:
$(diff <(echo "$before") <(echo "$after"))"
step "passed"
