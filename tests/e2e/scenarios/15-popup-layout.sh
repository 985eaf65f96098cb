#!/usr/bin/env bash
# The popup laid out for its fleet and areas: a second monitor makes it exactly one list
# row taller, with the check boxes below the list and six columns holding the monitors'
# values, no scroll bar; each area switch narrows or widens it by the rule, swaps the two shut-off
# buttons and is saved in both settings files.
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../lib.sh"

monitor_list=1001
show_volume=1064
show_rgb=1112
shut_off=1221       # shown while the volume area is hidden
shut_off_wide=1222  # shown while the volume area is shown

# Opens the popup and sets popup_height (the window's), list_bottom and check_top (the check
# boxes', both on one line below the list) in the popup's client coordinates.
measure_popup() {
  e2e_run_program
  e2e_wait 15 "the popup visible" e2e_tool is-visible
  local left top right bottom
  read -r left top right bottom <<<"$(e2e_tool window-rect)"
  popup_height=$((bottom - top))
  read -r left top right list_bottom <<<"$(e2e_tool control-rect $monitor_list --client)"
  local volume_top rgb_top
  read -r left volume_top right bottom <<<"$(e2e_tool control-rect $show_volume --client)"
  read -r left rgb_top right bottom <<<"$(e2e_tool control-rect $show_rgb --client)"
  [ "$volume_top" -eq "$rgb_top" ] || fail "check boxes at $volume_top and $rgb_top, not on one line"
  [ "$volume_top" -ge "$list_bottom" ] || fail "check boxes at $volume_top, above the list's bottom $list_bottom"
  check_top=$volume_top
  e2e_log "popup $popup_height high, list bottom $list_bottom, check boxes at $check_top"
}

e2e_begin popup-layout one-monitor.fleet
e2e_start_program k 0
e2e_wait_ready
measure_popup
one_height=$popup_height one_list=$list_bottom one_check=$check_top
expect_eq "$(e2e_tool list-cells | grep -c .)" 1 "rows of the list for one monitor"
e2e_run_program q
e2e_wait_program_exit 30

cp "$E2E_FLEETS/two-monitors.fleet" "$E2E_FLEET"
e2e_start_program k 0
e2e_wait_ready
measure_popup
read -r _ row_top _ row_bottom <<<"$(e2e_tool row-rect 1 --client)"
row=$((row_bottom - row_top))
[ "$row" -gt 0 ] || fail "row height $row"
expect_eq $((popup_height - one_height)) "$row" "popup height added by a second monitor (one row)"
expect_eq $((list_bottom - one_list)) "$row" "list height added by a second monitor"
expect_eq $((check_top - one_check)) "$row" "check boxes moved down by a second monitor"

# The display both monitors sit behind, brightness and contrast as the fleet holds them
# (raw 0..100 is percent), the gains on their 0..255 scale.
for monitor in 1 2; do
  expected=DISPLAY1
  for key in brightness contrast; do expected+=$'\t'"$(e2e_fleet_value $monitor $key)"; done
  for key in red green blue; do expected+=$'\t'"$((($(e2e_fleet_value $monitor $key) * 255 + 50) / 100))"; done
  expect_eq "$(e2e_tool list-cells | sed -n "${monitor}p")" "$expected" "list row $monitor"
done

# width: the popup's width now.
width() {
  local left top right bottom
  read -r left top right bottom <<<"$(e2e_tool window-rect)"
  echo $((right - left))
}
# The shut-off button of the volume area's state is the visible one.
expect_shut_off() {
  local shown=$shut_off hidden=$shut_off_wide
  [ "$1" = Y ] && shown=$shut_off_wide hidden=$shut_off
  expect_eq "$(e2e_tool control-visible $shown)" visible "button $shown with showvolume=$1"
  expect_eq "$(e2e_tool control-visible $hidden || true)" hidden "button $hidden with showvolume=$1"
}
expect_saved() {
  local file
  for file in "$E2E_LOCAL_SETTINGS" "$E2E_ROAMING_SETTINGS"; do
    expect_eq "$(e2e_setting "$file" showRGB)/$(e2e_setting "$file" showvolume)" "$1/$2" \
      "showRGB/showvolume in $(basename "$(dirname "$file")")/$(basename "$file")"
  done
}
# Every row shows and every column fits: a list narrowed around wider columns would keep
# both scroll bars, the second row behind the horizontal one.
expect_list_fits() { expect_eq "$(e2e_tool scroll-bars $monitor_list)" none "scroll bars of the list $1"; }
# Percent of the full width (both areas), rounded as MulDiv rounds.
share() { echo $(((full * $1 + 500) / 1000)); }

# The defaults: volume area on, colour area off.
narrow="$(width)"
expect_shut_off Y
expect_list_fits "as started"
expect_eq "$(e2e_tool click-control $show_rgb)" "clicked checked" "colour area switched on"
full="$(width)"
[ "$full" -gt "$narrow" ] || fail "colour area on: width $full, not wider than $narrow"
expect_eq "$narrow" "$(share 628)" "width without the colour area"
expect_saved Y Y
expect_list_fits "wide"
expect_shut_off Y
e2e_screenshot popup-full
expect_eq "$(e2e_tool click-control $show_volume)" "clicked unchecked" "volume area switched off"
expect_eq "$(width)" "$(share 788)" "width without the volume area"
expect_saved Y N
expect_list_fits "without the volume area"
expect_shut_off N
expect_eq "$(e2e_tool click-control $show_rgb)" "clicked unchecked" "colour area switched off"
expect_eq "$(width)" "$(share 425)" "width without either area"
expect_saved N N
expect_list_fits "without either area"
expect_shut_off N
expect_eq "$(e2e_tool click-control $show_volume)" "clicked checked" "volume area switched on"
expect_eq "$(width)" "$narrow" "width with the volume area back"
expect_saved N Y
expect_list_fits "with the volume area back"
expect_shut_off Y
