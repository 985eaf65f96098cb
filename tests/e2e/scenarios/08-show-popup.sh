#!/usr/bin/env bash
# A second start without a command line asks the running instance to show its popup.
# The first start has a command line (one that does nothing), so it keeps the popup hidden.
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../lib.sh"

e2e_begin show-popup two-monitors.fleet
e2e_start_program k 0
e2e_wait_ready
visible=0
e2e_tool is-visible >/dev/null || visible=$?
expect_eq "$visible" 1 "the popup hidden after a first start with a command line"

e2e_run_program
expect_eq "$E2E_RC" 0 "exit code of a second start without a command line"
e2e_wait 15 "the popup visible" e2e_tool is-visible
read -r left top right bottom <<<"$(e2e_tool window-rect)"
e2e_log "popup at $left $top $right $bottom"
# Wholly on the 1024 x 700 desktop.
[ "$left" -ge 0 ] && [ "$top" -ge 0 ] && [ "$right" -le 1024 ] && [ "$bottom" -le 700 ] \
  && [ "$left" -lt "$right" ] && [ "$top" -lt "$bottom" ] || fail "popup at $left $top $right $bottom"
expect_eq "$(e2e_program_count)" 1 "Lumivane.exe processes"
e2e_screenshot "$E2E_NAME"
