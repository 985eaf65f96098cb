#!/usr/bin/env bash
# The probe reaches the popup's controls as a user does: a slider's position after a
# line, the monitor list read through the program's memory, a control's rectangle on the
# screen and in the popup, a check box pressed twice with a choice picked between, and
# the exit question answered No, which keeps the program, then Yes, which ends it.
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../lib.sh"

monitor_list=1001
brightness_slider=1038
show_rgb=1112
colour_preset=1113
exit_command=40074

e2e_begin probe-controls two-monitors.fleet
e2e_start_program k 0
e2e_wait_ready
e2e_run_program 1 b 37
e2e_run_program
e2e_wait 15 "the popup visible" e2e_tool is-visible

# A slider runs top down: its position is the scale minus the value.
expect_eq "$(e2e_tool slider-pos $brightness_slider)" 63 "brightness slider after '1 b 37'"

expect_eq "$(e2e_tool list-cells | grep -c .)" 2 "rows of the monitor list"
expect_eq "$(e2e_list_cell 1 0)" DISPLAY1 "name of monitor 1 in the list"

# The same rectangle twice, its corners apart by the popup's client origin, which lies
# within the popup's border.
read -r left top right bottom <<<"$(e2e_tool window-rect)"
read -r sl st sr sb <<<"$(e2e_tool control-rect $monitor_list)"
read -r cl ct cr cb <<<"$(e2e_tool control-rect $monitor_list --client)"
dx=$((sl - cl)) dy=$((st - ct))
[ $((sr - cr)) -eq "$dx" ] && [ $((sb - cb)) -eq "$dy" ] || fail "list at $sl $st $sr $sb on the screen, $cl $ct $cr $cb in the popup"
[ "$dx" -ge "$left" ] && [ "$dx" -le $((left + 4)) ] && [ "$dy" -ge "$top" ] && [ "$dy" -le $((top + 4)) ] \
  || fail "client origin $dx $dy, not at the popup's corner $left $top"
[ "$sr" -le "$right" ] && [ "$sb" -le "$bottom" ] || fail "list at $sl $st $sr $sb, outside the popup $left $top $right $bottom"
e2e_log "ok: list at $cl $ct $cr $cb in the popup at $left $top"

# The colour area, off by default, holds the colour preset box: picked while the area is
# shown, refused once it is hidden again.
expect_eq "$(e2e_tool click-control $show_rgb)" "clicked checked" "first click on the RGB box"
# Monitor 1's presets are 01 05 08 0B: the fourth is the user preset.
expect_eq "$(e2e_tool pick $colour_preset 3)" "picked 3 User1" "pick of the fourth colour preset"
expect_eq "$(e2e_tool control-text $colour_preset)" User1 "colour preset shown after the pick"
expect_eq "$(e2e_tool click-control $show_rgb)" "clicked unchecked" "second click on the RGB box"
expect_eq "$(e2e_tool pick $colour_preset 0 || true)" "control $colour_preset is not visible" \
  "pick in the hidden colour area"

question="Do you really want to terminate Lumivane ?"
e2e_tool post-command $exit_command 0 >/dev/null
expect_eq "$(e2e_tool answer-box no)" "answered no: $question" "exit question answered No"
e2e_window_present || fail "the program's window gone after No"
e2e_tool post-command $exit_command 0 >/dev/null
expect_eq "$(e2e_tool answer-box yes)" "answered yes: $question" "exit question answered Yes"
e2e_wait_program_exit 30
e2e_wait 15 "no Lumivane.exe left" e2e_count_is 0
