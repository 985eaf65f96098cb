#!/usr/bin/env bash
# The popup's controls change the monitor as a user works them: the brightness slider by
# keys after a click on its thumb and by a drag (one set at the drag's end), the "50"
# button, Reset Monitor and an input pick, each question answered No first (nothing
# changes), then Yes.
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../lib.sh"

brightness_slider=1038
brightness_50=40011
brightness_label=1002
show_rgb=1112
input=1115
factory_reset=1117

e2e_begin popup-controls two-monitors.fleet
e2e_start_program k 0
e2e_wait_ready
e2e_run_program 1 b 37
e2e_run_program
e2e_wait 15 "the popup visible" e2e_tool is-visible

brightness_is() { [ "$(e2e_fleet_value 1 brightness)" = "$1" ]; }
# thumb_centre: x and y of the middle of the brightness slider's thumb on the screen.
thumb_centre() {
  local left top right bottom
  read -r left top right bottom <<<"$(e2e_tool slider-thumb $brightness_slider)"
  echo $(((left + right) / 2)) $(((top + bottom) / 2))
}

# The slider runs top down, position 100 - value; a page is a fifth of its range.
expect_eq "$(e2e_tool slider-pos $brightness_slider)" 63 "slider position at brightness 37"
read -r x y <<<"$(thumb_centre)"
xdotool mousemove "$x" "$y" click 1
e2e_log "clicked the thumb at $x $y"
expect_eq "$(e2e_tool slider-pos $brightness_slider)" 63 "slider position after a click on its thumb"
xdotool key Prior
e2e_wait 10 "brightness 57 after PageUp" brightness_is 57
xdotool key Home
e2e_wait 10 "brightness 100 after Home" brightness_is 100

# A drag sets the brightness once, where it ends.
sets_before="$(grep -c 'SetMonitorBrightness' "$E2E_DIR/dxva2.log" || true)"
read -r x y <<<"$(thumb_centre)"
xdotool mousemove "$x" "$y" mousedown 1
for step in 10 20 30 40; do xdotool mousemove "$x" $((y + step)); sleep 0.1; done
xdotool mouseup 1
# The pointer's events arrive after xdotool returns: moved, then set where it was let go.
drag_ended() {
  position="$(e2e_tool slider-pos $brightness_slider)"
  [ "$position" -gt 0 ] && brightness_is $((100 - position))
}
e2e_wait 10 "the monitor at 100 - the slider's position after the drag" drag_ended
e2e_log "slider at $position, brightness $(e2e_fleet_value 1 brightness)"
sleep 0.5  # a second set would follow the first at once
expect_eq $(($(grep -c 'SetMonitorBrightness' "$E2E_DIR/dxva2.log") - sets_before)) 1 "brightness sets of the drag"
xdotool mousemove 0 0

expect_eq "$(e2e_tool click-control $brightness_50)" clicked "button 50"
e2e_wait 10 "brightness 50 after button 50" brightness_is 50

# Reset Monitor and the input box sit in the colour area.
expect_eq "$(e2e_tool click-control $show_rgb)" "clicked checked" "colour area switched on"
# The fleet's values at the start are what the simulated monitor's factory reset restores.
e2e_tool click-control $factory_reset >/dev/null
case "$(e2e_tool answer-box no)" in "answered no: "*) ;; *) fail "no reset question" ;; esac
sleep 0.5
expect_eq "$(e2e_fleet_value 1 brightness)" 50 "brightness after Reset Monitor answered No"
e2e_tool click-control $factory_reset >/dev/null
case "$(e2e_tool answer-box yes)" in "answered yes: "*) ;; *) fail "no reset question" ;; esac
e2e_wait 10 "brightness 70 after Reset Monitor answered Yes" brightness_is 70
expect_eq "$(e2e_fleet_value 1 contrast)" 75 "contrast after the reset"

# Monitor 1's inputs are 0x0F and 0x11 (the fleet file keeps them in decimal once written); it
# is on the first. The popup reads the reset
# monitor back before it offers the input box again.
popup_shows_reset() { [ "$(e2e_tool control-text $brightness_label)" = "Brightness 70" ]; }
e2e_wait 10 "the popup showing the reset monitor" popup_shows_reset
e2e_wait 10 "the input box shown" e2e_tool control-visible $input
shown="$(e2e_tool control-text $input)"
e2e_tool pick $input 1 >/dev/null
case "$(e2e_tool answer-box no)" in "answered no: "*) ;; *) fail "no input question" ;; esac
sleep 0.5
expect_eq "$(e2e_fleet_value 1 input)" $((0x0F)) "input after the pick answered No"
expect_eq "$(e2e_tool control-text $input)" "$shown" "input box after the pick answered No"
e2e_tool pick $input 1 >/dev/null
case "$(e2e_tool answer-box yes)" in "answered yes: "*) ;; *) fail "no input question" ;; esac
input_is() { [ "$(e2e_fleet_value 1 input)" = "$1" ]; }
e2e_wait 10 "input 0x11 after the pick answered Yes" input_is $((0x11))
