#!/usr/bin/env bash
# The popup, shown on request, holds the selected monitor's values: after lines that
# changed another monitor and then selected the first, its labels read the first
# monitor's brightness and contrast.
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../lib.sh"

brightness_label=1002
contrast_label=1003

e2e_begin popup-values two-monitors.fleet
e2e_start_program k 0
e2e_wait_ready

e2e_run_program 2 c + 10
expect_eq "$(e2e_fleet_value 2 contrast)" 65 "monitor 2 contrast after '2 c + 10'"
e2e_run_program 1 b 37
expect_eq "$(e2e_fleet_value 1 brightness)" 37 "monitor 1 brightness after '1 b 37'"
e2e_run_program
e2e_wait 15 "the popup visible" e2e_tool is-visible
e2e_screenshot "$E2E_NAME"
expect_eq "$(e2e_tool control-text $brightness_label)" "Brightness 37" "brightness label"
expect_eq "$(e2e_tool control-text $contrast_label)" "Contrast 75" "contrast label"
