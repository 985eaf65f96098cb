#!/usr/bin/env bash
# A query on the program's own command line: the first start exits with the value and
# a new instance starts by itself without a command line. The restart flag is saved as
# set before the exit and cleared by the new instance.
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../lib.sh"

e2e_begin first-start-query two-monitors.fleet
e2e_run_program d
expect_eq "$E2E_RC" 70 "exit code of a first start with 'd'"
expect_eq "$(e2e_setting "$E2E_LOCAL_SETTINGS" restartflag)" Y "restartflag right after the exit"

e2e_wait 30 "the new instance" e2e_count_is 1
e2e_wait 30 "the new instance's window" e2e_window_present
e2e_wait 20 "restartflag cleared by the new instance" \
  e2e_file_has "$E2E_LOCAL_SETTINGS" '<set restartflag="N">'
# It started without a command line: the hardware is as it was.
expect_eq "$(e2e_fleet_value 1 brightness)" 70 "monitor 1 brightness"
e2e_run_program e
expect_eq "$E2E_RC" 75 "'e' answered by the new instance"
e2e_screenshot "$E2E_NAME"
