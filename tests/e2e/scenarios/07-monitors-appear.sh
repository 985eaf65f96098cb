#!/usr/bin/env bash
# A display whose physical monitors cannot be opened at the start: the program runs
# anyway, and once they can (the fleet turns to `physical = ok`) it restarts itself, its
# periodic check coming every 10 seconds.
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../lib.sh"

e2e_begin monitors-appear physical-fail.fleet
e2e_start_program
e2e_wait_ready
old="$E2E_PID"
e2e_find_the_program
expect_eq "$E2E_RUNNING" "$old" "the running instance"
e2e_screenshot "$E2E_NAME-before"

e2e_fleet_edit 's/^physical = fail/physical = ok/'
e2e_wait 45 "a new Lumivane.exe once the monitors answer" e2e_other_program_running "$old"
e2e_wait 20 "the old process gone" e2e_process_gone "$old"
e2e_wait 30 "the new instance's window" e2e_window_present
e2e_wait 10 "one Lumivane.exe" e2e_count_is 1
e2e_wait_restart_cleared
e2e_run_program 2 d
expect_eq "$E2E_RC" 40 "'2 d' in the new instance"
e2e_screenshot "$E2E_NAME"
