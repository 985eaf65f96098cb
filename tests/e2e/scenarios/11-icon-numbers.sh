#!/usr/bin/env bash
# The icons follow the values: the digits are drawn with one font and size in every icon,
# only the colour differs, so the brightness icon takes the contrast icon's shape exactly
# when both show the same number. 70 and 75 at first; equal after `b 30 c 30`; different
# again after `b 31`.
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../lib.sh"
# shellcheck source=tests/e2e/icons.sh
source "$(dirname "$0")/../icons.sh"

e2e_begin icon-numbers two-monitors.fleet
e2e_start_program k 0
e2e_wait_ready
e2e_icons_up
e2e_icons_keep icons-b70-c75
e2e_shapes_equal brightness contrast && { e2e_log_shapes brightness contrast; fail "70 and 75 drawn alike"; }
e2e_log "ok: brightness 70 and contrast 75 drawn differently"

e2e_run_program b 30 c 30
expect_eq "$E2E_RC" 0 "exit code of 'b 30 c 30'"
expect_eq "$(e2e_fleet_value 1 brightness) $(e2e_fleet_value 1 contrast)" "30 30" "monitor 1 brightness and contrast"
e2e_poll 15 e2e_icons_match brightness contrast yes || { e2e_log_shapes brightness contrast; fail "brightness icon not drawn as the contrast icon after 'b 30 c 30'"; }
e2e_icons_keep icons-b30-c30
e2e_log_shapes brightness contrast
e2e_log "ok: brightness 30 and contrast 30 drawn alike"

e2e_run_program b 31
expect_eq "$E2E_RC" 0 "exit code of 'b 31'"
expect_eq "$(e2e_fleet_value 1 brightness)" 31 "monitor 1 brightness"
e2e_poll 15 e2e_icons_match brightness contrast no || { e2e_log_shapes brightness contrast; fail "brightness icon still drawn as the contrast icon after 'b 31'"; }
e2e_icons_keep icons-b31-c30
e2e_log_shapes brightness contrast
e2e_log "ok: brightness 31 and contrast 30 drawn differently"
