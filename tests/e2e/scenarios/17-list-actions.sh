#!/usr/bin/env bash
# The monitor list's clicks: a left click on a row selects that monitor for the command
# language; a right click opens the list's menu, whose last item copies every entry's
# debug information to the clipboard and whose first, "Ignore monitor", is refused while
# another row has the same name (under Wine both rows are DISPLAY1) and changes nothing.
# Esc hides the popup.
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../lib.sh"

monitor_list=1001

e2e_begin list-actions two-monitors.fleet
e2e_start_program
e2e_wait_ready
e2e_wait 15 "the popup visible" e2e_tool is-visible
# Shown at the start, laid out around the template's wider columns: every row must show.
expect_eq "$(e2e_tool scroll-bars $monitor_list)" none "scroll bars of the list"

answers() {
  e2e_run_program d
  [ "$E2E_RC" = "$1" ]
}
e2e_click_row 1 1
e2e_wait 10 "'d' answering monitor 2's brightness after a click on row 2" answers "$(e2e_fleet_value 2 brightness)"
e2e_click_row 1 0
e2e_wait 10 "'d' answering monitor 1's brightness after a click on row 1" answers "$(e2e_fleet_value 1 brightness)"

# Each entry's block: model, capabilities (the names Wine cannot tell are left out), then
# the capabilities attempt and the three ranges; the eight empty entries are zeros.
e2e_click_row 3 0
e2e_menu_pick Up
block() { printf '%s\n' "$1" "$2" 0 0 100 0 100 0 100 ----------; }
expected="$(
  block U27 "$(sed -n 's/^capabilities = //p' "$E2E_FLEET" | sed -n 1p)"
  block O24 "$(sed -n 's/^capabilities = //p' "$E2E_FLEET" | sed -n 2p)"
  for _ in 1 2 3 4 5 6 7 8; do printf '0\n%.0s' 1 2 3 4 5 6 7; echo ----------; done
)"
copied="$(e2e_tool clipboard)"
[ "$copied" = "$expected" ] || fail "clipboard after 'Copy Debug-Infos':"$'\n'"$copied"
e2e_log "ok: both monitors' blocks and ten separators on the clipboard"

e2e_find_the_program
running=$E2E_RUNNING
saved="$(md5sum "$E2E_LOCAL_SETTINGS" "$E2E_ROAMING_SETTINGS")"
e2e_click_row 3 1
e2e_menu_pick Down
sleep 2  # a restart would have begun by now
e2e_find_the_program
expect_eq "$E2E_RUNNING" "$running" "the program after 'Ignore monitor' of a shared name"
expect_eq "$(e2e_tool list-cells | cut -f 1 | tr '\n' ' ')" "DISPLAY1 DISPLAY1 " "names in the list"
expect_eq "$(md5sum "$E2E_LOCAL_SETTINGS" "$E2E_ROAMING_SETTINGS")" "$saved" "both settings files"

e2e_click_row 1 0
xdotool key Escape
e2e_wait 5 "the popup hidden after Esc" e2e_popup_hidden
e2e_find_the_program
