#!/usr/bin/env bash
# Queries from a second start answer through its exit code: 'd' the selected monitor's
# brightness, '2 e' the second monitor's contrast (and the selection stays there).
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../lib.sh"

e2e_begin queries two-monitors.fleet
e2e_start_program
e2e_wait_ready
# Started without a command line, the program shows its popup.
e2e_wait 15 "the popup visible" e2e_tool is-visible

e2e_run_program d
expect_eq "$E2E_RC" "$(e2e_fleet_value 1 brightness)" "'d': monitor 1 brightness"
e2e_run_program e
expect_eq "$E2E_RC" "$(e2e_fleet_value 1 contrast)" "'e': monitor 1 contrast"
e2e_run_program 2 e
expect_eq "$E2E_RC" 55 "'2 e': monitor 2 contrast"
e2e_run_program d
expect_eq "$E2E_RC" 40 "'d' after '2 e': monitor 2 brightness"
expect_eq "$(e2e_program_count)" 1 "Lumivane.exe processes"
e2e_screenshot "$E2E_NAME"
