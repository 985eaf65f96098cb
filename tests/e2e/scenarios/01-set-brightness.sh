#!/usr/bin/env bash
# A second start forwards its command line to the running instance, which sets the
# hardware; the second start exits with the running instance's last query value and
# leaves one instance running.
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../lib.sh"

e2e_begin set-brightness two-monitors.fleet
e2e_start_program
e2e_wait_ready
e2e_find_the_program
first="$E2E_RUNNING"

e2e_run_program b 50
expect_eq "$E2E_RC" 0 "exit code of 'b 50' before any query"
expect_eq "$(e2e_fleet_value 1 brightness)" 50 "monitor 1 brightness after 'b 50'"
expect_eq "$(e2e_fleet_value 2 brightness)" 40 "monitor 2 brightness after 'b 50'"
e2e_wait 10 "one Lumivane.exe" e2e_count_is 1
e2e_find_the_program
expect_eq "$E2E_RUNNING" "$first" "the running instance"

# The last query's value stays the answer of lines without a query.
e2e_run_program d
expect_eq "$E2E_RC" 50 "exit code of 'd'"
e2e_run_program c 30
expect_eq "$E2E_RC" 50 "exit code of 'c 30' after 'd'"
expect_eq "$(e2e_fleet_value 1 contrast)" 30 "monitor 1 contrast after 'c 30'"
e2e_window_present || fail "the window is gone"
expect_eq "$(e2e_program_count)" 1 "Lumivane.exe processes"
e2e_screenshot "$E2E_NAME"
