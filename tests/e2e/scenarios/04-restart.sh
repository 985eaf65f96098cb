#!/usr/bin/env bash
# 'z' from a second start restarts the program: a new process, the old one gone with its
# last query value as exit code, the window back, the restart flag cleared again.
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../lib.sh"

e2e_begin restart two-monitors.fleet
e2e_start_program
e2e_wait_ready
old="$E2E_PID"

e2e_run_program 2 e
expect_eq "$E2E_RC" 55 "'2 e' before the restart"
e2e_run_program z
expect_eq "$E2E_RC" 55 "exit code of 'z': the last query value"
e2e_wait_program_exit 30
expect_eq "$E2E_EXIT" 55 "exit code of the old process: its last query value"
e2e_wait 30 "a new Lumivane.exe" e2e_other_program_running "$old"
e2e_wait 30 "the window back" e2e_window_present
e2e_wait_restart_cleared
e2e_find_the_program
[ "$E2E_RUNNING" != "$old" ] || fail "the old process is still the running one"
# The selection is saved, so the new instance acts on monitor 2 still.
e2e_run_program b 20
expect_eq "$E2E_RC" 0 "exit code of 'b 20' in the new instance (no query yet)"
expect_eq "$(e2e_fleet_value 2 brightness)" 20 "monitor 2 brightness after 'b 20'"
expect_eq "$(e2e_fleet_value 1 brightness)" 70 "monitor 1 brightness after 'b 20'"
e2e_screenshot "$E2E_NAME"
