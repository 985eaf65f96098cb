#!/usr/bin/env bash
# The harness checks itself with the probe standing in for the program: finding the
# window, counting processes, exit codes of a synchronous and a background start, a
# copy-data record answered by thread message, and a list's cells read from the memory of
# its process. A failure here is the harness's, not the program's.
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../lib.sh"

E2E_PROGRAM_SOURCE="$E2E_WINDOWS/e2e_tool.exe" e2e_begin harness two-monitors.fleet

e2e_wait 10 "no window before the start" e2e_window_absent
e2e_start_program stand-in 60
e2e_wait 30 "the stand-in's window" e2e_window_present
e2e_wait 10 "one program process" e2e_count_is 1
e2e_find_the_program
expect_eq "$E2E_RUNNING" "$E2E_PID" "the process counted is the one started"

answer="$(e2e_tool copydata "b 50" --source self | tail -n 1)"
expect_eq "$answer" "answer 5" "answer to a copy-data record"
# The stand-in is hidden: its probe exits 1.
e2e_run_program is-visible
expect_eq "$E2E_RC" 1 "exit code of a synchronous start"
expect_eq "$(e2e_program_count)" 1 "programs left after a synchronous start"
expect_eq "$(e2e_fleet_value 2 contrast)" 55 "fleet value"
expect_eq "$(e2e_tool list-cells)" $'Nova U27\t37\t75\t100\t100\t100\nOrion 24 \xc3\x9c\t40\t\t50\t50\t50' \
  "the stand-in's list read through its memory"
# After an empty cell: the columns do not shift.
expect_eq "$(e2e_list_cell 2 4)" 50 "row 2, column 4 of the stand-in's list"
e2e_screenshot "$E2E_NAME"

e2e_tool send-message 0x0010 0 0 >/dev/null  # WM_CLOSE
e2e_wait_program_exit 20
expect_eq "$E2E_EXIT" 0 "exit code of the background start"
e2e_wait 10 "no window after the close" e2e_window_absent
expect_eq "$(e2e_program_count)" 0 "programs left"
