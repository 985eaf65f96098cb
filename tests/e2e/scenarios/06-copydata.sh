#!/usr/bin/env bash
# Copy-data records from any process: one without a terminator is cut at 2047 bytes or,
# when longer than a command buffer, ignored; a short cbData cuts the text; a record
# without data is ignored. The program keeps running and answers the next query.
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../lib.sh"

e2e_begin copydata two-monitors.fleet
e2e_start_program
e2e_wait_ready

# 2048 bytes, no zero, ending in "b 59": the cut leaves "b 5".
record="$(printf '%2044s' '')b 59"
e2e_tool copydata "$record" --no-terminator >/dev/null
e2e_run_program d
expect_eq "$E2E_RC" 5 "'d' after a 2048-byte record without a terminator"
expect_eq "$(e2e_fleet_value 1 brightness)" 5 "monitor 1 brightness"

# Longer than a command buffer: not a command line at all.
e2e_tool copydata "b 44 " --no-terminator --size 4096 >/dev/null
e2e_tool copydata "b 45" --null-data --size 16 >/dev/null
e2e_run_program d
expect_eq "$E2E_RC" 5 "'d' after a 4096-byte record and one without data"

# cbData shorter than the text: only its bytes count.
e2e_tool copydata "b 63" --size 3 >/dev/null
answer="$(e2e_tool copydata "d" --source self | tail -n 1)"
expect_eq "$answer" "answer 6" "answer to 'd' sent with the probe's own thread as source"
expect_eq "$(e2e_fleet_value 1 brightness)" 6 "monitor 1 brightness after 'b 6'"

e2e_window_present || fail "the window is gone"
expect_eq "$(e2e_program_count)" 1 "Lumivane.exe processes"
e2e_screenshot "$E2E_NAME"
