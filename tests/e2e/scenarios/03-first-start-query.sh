#!/usr/bin/env bash
# A query on the program's own command line: the first start exits with the value and
# a new instance starts by itself without a command line. The restart flag is saved as
# set before the exit and cleared by the new instance.
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../lib.sh"

e2e_begin first-start-query two-monitors.fleet

# The new instance clears the flag a few hundred milliseconds after the exit; a watcher
# records every value the file takes, so a busy machine cannot hide the set flag.
seen="$E2E_DIR/restartflag.seen"
(
  last="" deadline=$((SECONDS + 60))
  while [ "$SECONDS" -lt "$deadline" ]; do
    value="$(e2e_setting "$E2E_LOCAL_SETTINGS" restartflag)"
    [ -n "$value" ] && [ "$value" != "$last" ] && echo "$value" >>"$seen" && last="$value"
    sleep 0.02
  done
) &
watcher=$!

e2e_run_program d
expect_eq "$E2E_RC" 70 "exit code of a first start with 'd'"
e2e_log "restartflag right after the exit: $(e2e_setting "$E2E_LOCAL_SETTINGS" restartflag)"

e2e_wait 30 "the new instance" e2e_count_is 1
e2e_wait 30 "the new instance's window" e2e_window_present
e2e_wait_restart_cleared
sleep 0.1
kill "$watcher" 2>/dev/null || true
wait "$watcher" 2>/dev/null || true
expect_eq "$(tail -n 2 "$seen" | tr '\n' ' ')" "Y N " "restartflag values saved, last two"

# It started without a command line: the hardware is as it was.
expect_eq "$(e2e_fleet_value 1 brightness)" 70 "monitor 1 brightness"
e2e_run_program e
expect_eq "$E2E_RC" 75 "'e' answered by the new instance"
e2e_screenshot "$E2E_NAME"
