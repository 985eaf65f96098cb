#!/usr/bin/env bash
# The notification-area menu, opened by a right click on a free spot of the popup: a user
# entry from the settings runs its command line; "Shut monitors off" and the command `x`
# hide the popup, and about 1.5 s later every window gets the monitor-power broadcast;
# "Rescan monitors" restarts; "Exit" asks: No keeps the program, Yes saves both settings
# files and ends it.
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../lib.sh"

e2e_begin tray-menu two-monitors.fleet
# Entry 0: comment "Dim & co" shown before its command; the menu shows "&" as itself.
e2e_write_settings "$E2E_LOCAL_SETTINGS" m_editbuffer0="b 20" m_editbuffer15="Dim &amp; co"
e2e_start_power_watch
e2e_start_program
e2e_wait_ready
e2e_wait 15 "the popup visible" e2e_tool is-visible
e2e_find_the_program
first=$E2E_RUNNING

# The user entries follow "Exit": Up is the last of them.
e2e_click_free_spot 3
e2e_menu_pick Up
brightness_is() { [ "$(e2e_fleet_value 1 brightness)" = "$1" ]; }
e2e_wait 10 "brightness 20 from the menu's user entry" brightness_is 20

# expect_monitors_off SINCE-MS WHAT: the popup hides at once, and one broadcast with 2 (off)
# follows the request by the program's pause of 1.5 s, not before.
expect_monitors_off() {
  local since="$1" count_before="$2" what="$3"
  e2e_wait 5 "the popup hidden by $what" e2e_popup_hidden
  broadcast_came() { [ "$(e2e_power_broadcasts)" -gt "$count_before" ]; }
  e2e_wait 10 "the monitor-power broadcast after $what" broadcast_came
  sleep 0.5
  expect_eq "$(e2e_power_broadcasts)" $((count_before + 1)) "monitor-power broadcasts after $what"
  local line at
  line="$(e2e_power_lines | tail -n 1)"
  at="${line##* at }"
  expect_eq "${line%% at *}" "monitor-power 2" "the broadcast's request"
  local delay=$((at - since))
  [ "$delay" -ge 1500 ] && [ "$delay" -le 6000 ] || fail "broadcast ${delay} ms after $what"
  e2e_log "ok: broadcast ${delay} ms after $what"
}

since="$(e2e_now_ms)"
e2e_run_program x
expect_monitors_off "$since" 0 "the command x"

e2e_run_program
e2e_wait 15 "the popup shown again" e2e_tool is-visible
e2e_click_free_spot 3
e2e_wait 10 "a menu open" e2e_menu_open
since="$(e2e_now_ms)"
e2e_menu_pick Down Down Down
expect_monitors_off "$since" 1 "'Shut monitors off'"

e2e_run_program
e2e_wait 15 "the popup shown again" e2e_tool is-visible
e2e_click_free_spot 3
e2e_menu_pick Down Down Down Down
e2e_wait 30 "a new instance after 'Rescan monitors'" e2e_other_program_running "$first"
e2e_wait 20 "the old instance gone" e2e_process_gone "$first"
e2e_wait_restart_cleared
e2e_find_the_program
second=$E2E_RUNNING

e2e_run_program
e2e_wait 15 "the popup shown after the restart" e2e_tool is-visible
e2e_click_free_spot 3
e2e_menu_pick Up Up
case "$(e2e_tool answer-box no)" in "answered no: "*) ;; *) fail "no question after 'Exit'" ;; esac
sleep 1
e2e_find_the_program
expect_eq "$E2E_RUNNING" "$second" "the program after 'Exit' answered No"

# Yes saves: both files, removed just before, come back.
e2e_click_free_spot 3
e2e_menu_pick Up Up
rm -f "$E2E_LOCAL_SETTINGS" "$E2E_ROAMING_SETTINGS"
case "$(e2e_tool answer-box yes)" in "answered yes: "*) ;; *) fail "no question after 'Exit'" ;; esac
e2e_wait 20 "the program ended after 'Exit' answered Yes" e2e_count_is 0
for file in "$E2E_LOCAL_SETTINGS" "$E2E_ROAMING_SETTINGS"; do
  expect_eq "$(e2e_setting "$file" m_editbuffer0)" "b 20" "the user entry saved in $file"
done
