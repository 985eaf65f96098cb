#!/usr/bin/env bash
# A start while the program restarts itself. From the ending instance's exit save until
# its successor's first save the settings file says restartflag="Y"; here that takes
# some 10 s, which the successor spends asking a monitor for capabilities it never gives.
# A start with a command line in that time still finds the one instance: its line runs
# there, it exits with the answer, and one instance is left.
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../lib.sh"

e2e_begin start-during-restart slow-start.fleet
e2e_start_program
e2e_wait_ready 30
old="$E2E_PID"

e2e_run_program z
expect_eq "$E2E_RC" 0 "exit code of 'z'"
e2e_wait_program_exit 30
expect_eq "$E2E_EXIT" 0 "exit code of the old process"
expect_eq "$(e2e_setting "$E2E_LOCAL_SETTINGS" restartflag)" Y "restartflag as the second start begins"

# Before, this start skipped the single-instance test, dropped its line and never ended.
E2E_START_SECONDS=40 e2e_run_program b 30
expect_eq "$E2E_RC" 0 "exit code of 'b 30' started during the restart"
expect_eq "$(e2e_fleet_value 1 brightness)" 30 "monitor 1 brightness after 'b 30'"
expect_eq "$(e2e_fleet_value 2 brightness)" 40 "monitor 2 brightness after 'b 30'"

e2e_wait_restart_cleared
e2e_find_the_program
[ "$E2E_RUNNING" != "$old" ] || fail "the old process is still the running one"
e2e_window_present || fail "the successor has no window"
# A later start still reaches the successor.
e2e_run_program d
expect_eq "$E2E_RC" 30 "'d' answered by the successor"
expect_eq "$(e2e_program_count)" 1 "Lumivane.exe processes"
e2e_screenshot "$E2E_NAME"
