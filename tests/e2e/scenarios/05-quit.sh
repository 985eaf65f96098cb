#!/usr/bin/env bash
# 'q' from a second start ends the program without asking anything; the settings are
# saved whole in both places, as they are at the end (the selection made last), and the
# process exits with its last query value.
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../lib.sh"

e2e_begin quit two-monitors.fleet
e2e_start_program
e2e_wait_ready
e2e_screenshot "$E2E_NAME"

expect_eq "$(e2e_setting "$E2E_LOCAL_SETTINGS" selectedmonitor)" 00000000 "selection saved at the start"
e2e_run_program 2 e
expect_eq "$E2E_RC" 55 "'2 e' before quitting"
e2e_run_program q
expect_eq "$E2E_RC" 55 "exit code of 'q': the last query value"
e2e_wait_program_exit 30
expect_eq "$E2E_EXIT" 55 "exit code of the program: its last query value"
e2e_wait 15 "no Lumivane.exe left" e2e_count_is 0
e2e_wait 15 "no window left" e2e_window_absent

for file in "$E2E_LOCAL_SETTINGS" "$E2E_ROAMING_SETTINGS"; do
  keys="$(e2e_setting_count "$file")"
  [ "$keys" -ge 20 ] || fail "$file holds $keys settings, not the whole document"
  expect_eq "$(e2e_setting "$file" restartflag)" N "restartflag in $file"
  expect_eq "$(e2e_setting "$file" selectedmonitor)" 00000001 "selection in $file"
  [ -n "$(e2e_setting "$file" ColorBrightness)" ] || fail "$file lacks ColorBrightness"
  e2e_log "ok: $file holds $keys settings"
done
