#!/usr/bin/env bash
# The task bar shows the default icons, brightness, contrast and volume, side by side in
# the notification area, each drawing its number in its own colour; brightness 70 and
# contrast 75 of the simulated monitor give two different shapes.
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../lib.sh"
# shellcheck source=tests/e2e/icons.sh
source "$(dirname "$0")/../icons.sh"

e2e_begin tray-icons two-monitors.fleet
e2e_start_program k 0
e2e_wait_ready
e2e_icons_up
e2e_icons_keep icons
e2e_icons_check
e2e_log_shapes brightness contrast
e2e_shapes_equal brightness contrast && fail "brightness 70 and contrast 75 drawn alike"
e2e_log "ok: brightness 70 and contrast 75 drawn differently"
expect_eq "$(e2e_program_count)" 1 "Lumivane.exe processes"
