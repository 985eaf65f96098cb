#!/usr/bin/env bash
# A name in the ignore list silences every row of that name: under Wine both monitors sit
# behind DISPLAY1, so with ignoremonitor0=DISPLAY1 both rows read "ignore_DISPLAY1" and
# are not asked over DDC/CI. "Utilize monitor" from the list's menu brings both back
# through a restart and clears the key in both settings files.
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../lib.sh"

e2e_begin ignored-monitors two-monitors.fleet
for file in "$E2E_LOCAL_SETTINGS" "$E2E_ROAMING_SETTINGS"; do
  e2e_write_settings "$file" ignoremonitor0=DISPLAY1
done
e2e_start_program
e2e_wait 30 "the program's window" e2e_window_present
e2e_wait 15 "the popup visible" e2e_tool is-visible
names() { e2e_tool list-cells | cut -f 1 | tr '\n' ' '; }
expect_eq "$(names)" "ignore_DISPLAY1 ignore_DISPLAY1 " "names in the list"
expect_eq "$(grep -c 'GetCapabilitiesStringLength' "$E2E_DIR/dxva2.log" || true)" 0 \
  "capabilities requests to ignored monitors"

e2e_find_the_program
before=$E2E_RUNNING
e2e_click_row 3 0
e2e_menu_pick Down Down
e2e_wait 30 "a new instance after 'Utilize monitor'" e2e_other_program_running "$before"
e2e_wait 20 "the old instance gone" e2e_process_gone "$before"
e2e_wait_restart_cleared
e2e_wait 15 "the popup visible after the restart" e2e_tool is-visible
values_read() { [ "$(e2e_tool list-cells | cut -f 1-2 | tr '\t\n' '  ')" = "DISPLAY1 70 DISPLAY1 40 " ]; }
e2e_wait 15 "both monitors named and read again" values_read
for file in "$E2E_LOCAL_SETTINGS" "$E2E_ROAMING_SETTINGS"; do
  e2e_wait 10 "ignoremonitor0 cleared in $file" e2e_file_has "$file" '<set ignoremonitor0=""></set>'
done
