# shellcheck shell=bash
# Shared functions of the end-to-end tests: Lumivane.exe under Wine on an Xvfb display,
# with the simulated dxva2.dll beside it. Sourced by tests/e2e/run and every scenario.
#
# A run owns one X display, one fresh Wine prefix (and so its own wineserver) and
# build/e2e/. Each scenario gets its own program folder, fleet and logs under
# build/e2e/scenarios/<name>/ and ends with every Wine process of the prefix killed.
# Every wait polls with a deadline; nothing here may block for long.
#
# Wine processes never get a pipe as stdout or stderr: the wineserver or a restarted
# program would inherit it, and a reader waiting for its end would wait for them.

E2E_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
E2E_BUILD="${E2E_BUILD:-$E2E_ROOT/build/e2e}"
E2E_WINDOWS="$E2E_ROOT/build/windows"
E2E_FLEETS="$E2E_ROOT/tests/e2e/fleets"
E2E_SCREENSHOTS="${E2E_SCREENSHOTS:-$E2E_BUILD/screenshots}"
E2E_PROGRAM="Lumivane.exe"

e2e_log() { printf '%s %s\n' "$(date +%T)" "$*" >&2; }

# ---------------------------------------------------------------------------------------
# Session: the display and the prefix, shared by the scenarios of one run.

# Starts Xvfb on a display number it finds free itself and exports DISPLAY.
e2e_start_display() {
  mkdir -p "$E2E_BUILD"
  local number_file="$E2E_BUILD/xvfb.display"
  rm -f "$number_file"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" \
    </dev/null >"$E2E_BUILD/xvfb.log" 2>&1 &
  E2E_XVFB_PID=$!
  export E2E_XVFB_PID
  local deadline=$((SECONDS + 20))
  until [ -s "$number_file" ]; do
    kill -0 "$E2E_XVFB_PID" 2>/dev/null || { e2e_log "Xvfb ended: $(tail -n 5 "$E2E_BUILD/xvfb.log")"; return 1; }
    [ "$SECONDS" -lt "$deadline" ] || { e2e_log "Xvfb gave no display number"; return 1; }
    sleep 0.1
  done
  DISPLAY=":$(tr -dc '0-9' <"$number_file")"
  export DISPLAY
  e2e_log "Xvfb $E2E_XVFB_PID on $DISPLAY"
}

e2e_stop_display() {
  if [ -n "${E2E_XVFB_PID:-}" ]; then
    kill "$E2E_XVFB_PID" 2>/dev/null || true
    local deadline=$((SECONDS + 10))
    while kill -0 "$E2E_XVFB_PID" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do sleep 0.1; done
    kill -9 "$E2E_XVFB_PID" 2>/dev/null || true
    wait "$E2E_XVFB_PID" 2>/dev/null || true
    E2E_XVFB_PID=""
  fi
}

# The Wine environment of the run; Windows processes inherit it, the simulated dxva2.dll
# included.
e2e_wine_environment() {
  export WINEPREFIX="${E2E_PREFIX:-$E2E_BUILD/prefix}"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;dxva2=n,b"
  # A real X display keeps its cookie where the user's HOME has it.
  if [ -z "${XAUTHORITY:-}" ] && [ -f "$HOME/.Xauthority" ]; then export XAUTHORITY="$HOME/.Xauthority"; fi
  # An ALSA null device gives Wine a default audio endpoint.
  export HOME="$E2E_BUILD/home"
  mkdir -p "$HOME"
  [ -f "$HOME/.asoundrc" ] || printf 'pcm.!default { type null }\n' >"$HOME/.asoundrc"
}

# A Windows path for a Unix path (drive Z: is the Unix root in every prefix).
e2e_winpath() {
  local path
  path="$(realpath -m "$1")"
  printf 'Z:%s' "${path//\//\\}"
}

# Makes a fresh prefix in which every Wine process shares one virtual desktop with a
# task bar and a notification area, and a crash ends the process instead of asking.
# Wine has neither Segoe UI nor Consolas, and its own substitutes are so much wider that
# the icons' numbers are clipped: Debian's Open Sans and Inconsolata (scripts/setup), close
# in their metrics, stand in for them.
e2e_make_prefix() {
  e2e_wine_environment
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  local log="$E2E_BUILD/prefix.log"
  e2e_log "making the Wine prefix $WINEPREFIX"
  timeout 180 wineboot -i </dev/null >"$log" 2>&1 || { e2e_log "wineboot failed: $(tail -n 5 "$log")"; return 1; }
  timeout 60 wineserver -w </dev/null >>"$log" 2>&1 || true
  local reg="$E2E_BUILD/desktop.reg"
  cat >"$reg" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x700"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops\Default]
"EnableShell"=dword:00000001

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Segoe UI"="Open Sans"
"Consolas"="Inconsolata"
EOF
  timeout 60 wine reg import "$(e2e_winpath "$reg")" </dev/null >>"$log" 2>&1 \
    || { e2e_log "registry import failed: $(tail -n 5 "$log")"; return 1; }
  e2e_wine_stop
  e2e_check_prefix
}

# A kept prefix (the demo's, the benchmark's) made before the font replacements lacks them.
e2e_prefix_has_fonts() { grep -qF '"Segoe UI"="Open Sans"' "$WINEPREFIX/user.reg" 2>/dev/null; }

# Checks what the harness relies on in a made prefix and finds the Windows user's
# folder, named after the Unix user as Wine saw it (E2E_WINDOWS_HOME).
e2e_check_prefix() {
  local user
  E2E_WINDOWS_HOME=""
  for user in "$WINEPREFIX"/drive_c/users/*; do
    [ "$(basename "$user")" != Public ] && [ -d "$user/AppData" ] && E2E_WINDOWS_HOME="$user"
  done
  [ -n "$E2E_WINDOWS_HOME" ] || { e2e_log "no user folder in the prefix"; return 1; }
  export E2E_WINDOWS_HOME
  [ "$(readlink "$WINEPREFIX/dosdevices/z:")" = / ] || { e2e_log "drive Z: is not the Unix root"; return 1; }
}

# Starts the prefix's wineserver for good, so the desktop stays between program runs.
e2e_wine_start() {
  timeout 30 wineserver -p </dev/null >/dev/null 2>&1 || true
}

# Kills every Wine process of the prefix and waits (bounded) for the wineserver to end.
e2e_wine_stop() {
  [ -n "${WINEPREFIX:-}" ] || return 0
  timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
  timeout 30 wineserver -w </dev/null >/dev/null 2>&1 || true
}

e2e_session_start() {
  mkdir -p "$E2E_BUILD" "$E2E_SCREENSHOTS"
  e2e_start_display
  e2e_make_prefix
}

e2e_session_stop() {
  e2e_wine_stop
  e2e_stop_display
  [ "${E2E_KEEP_PREFIX:-0}" = 1 ] || rm -rf "${E2E_PREFIX:-$E2E_BUILD/prefix}"
}

# ---------------------------------------------------------------------------------------
# Scenario: a program folder, a fleet and logs of its own.

# e2e_prepare_program FOLDER FLEET-FILE: FOLDER/program holds the program and the
# simulated dxva2.dll, FOLDER/hardware.fleet a copy of the fleet, FOLDER/dxva2.log the
# simulated hardware's log; no settings are left in the roaming folder.
e2e_prepare_program() {
  E2E_DIR="$1"
  local fleet="$2"
  local program="${E2E_PROGRAM_SOURCE:-$E2E_WINDOWS/$E2E_PROGRAM}"
  [ -f "$program" ] || { e2e_log "FAIL: $program is missing (cmake --build --preset windows --target Lumivane)"; exit 1; }
  E2E_PROGRAM_DIR="$E2E_DIR/program"
  E2E_FLEET="$E2E_DIR/hardware.fleet"
  rm -rf "$E2E_DIR"
  mkdir -p "$E2E_PROGRAM_DIR" "$E2E_SCREENSHOTS"
  # E2E_PROGRAM_SOURCE lets the harness check itself with a stand-in.
  cp "$program" "$E2E_PROGRAM_DIR/$E2E_PROGRAM"
  cp "$E2E_WINDOWS/simulated/dxva2.dll" "$E2E_PROGRAM_DIR/"
  cp "$fleet" "$E2E_FLEET"
  export LUMIVANE_FLEET
  LUMIVANE_FLEET="$(e2e_winpath "$E2E_FLEET")"
  export LUMIVANE_DXVA2_LOG
  LUMIVANE_DXVA2_LOG="$(e2e_winpath "$E2E_DIR/dxva2.log")"
  E2E_LOCAL_SETTINGS="$E2E_PROGRAM_DIR/Lumivane.xml"
  E2E_ROAMING_SETTINGS="$E2E_WINDOWS_HOME/AppData/Roaming/Lumivane/Lumivane.xml"
  rm -rf "$(dirname "$E2E_ROAMING_SETTINGS")"
}

# e2e_begin NAME FLEET: FLEET is a file name in tests/e2e/fleets/. Starts from a prefix
# with no Wine process running.
e2e_begin() {
  E2E_NAME="$1"
  e2e_wine_environment
  e2e_wine_stop
  e2e_prepare_program "$E2E_BUILD/scenarios/$E2E_NAME" "$E2E_FLEETS/$2"
  e2e_wine_start
  e2e_tool wait-taskbar 25 >/dev/null || e2e_log "no task bar came up"
  trap 'e2e_finish $?' EXIT
  trap 'exit 143' TERM INT
  e2e_log "scenario $E2E_NAME, fleet $2"
}

# On the way out: a screenshot of whatever is on the desktop when the scenario failed,
# the simulated hardware's log, and no Wine process left.
e2e_finish() {
  local status="$1"
  trap - EXIT
  if [ "$status" -ne 0 ]; then
    e2e_screenshot "$E2E_NAME-failed" || true
    e2e_log "program processes: $(e2e_program_pids | tr '\n' ' ')"
    if [ -f "$E2E_DIR/dxva2.log" ]; then
      e2e_log "last lines of the dxva2 log:"
      tail -n 15 "$E2E_DIR/dxva2.log" >&2 || true
    fi
  fi
  e2e_wine_stop
  exit "$status"
}

fail() {
  e2e_log "FAIL: $*"
  exit 1
}

# expect_eq ACTUAL EXPECTED WHAT
expect_eq() {
  [ "$1" = "$2" ] || fail "$3: expected '$2', got '$1'"
  e2e_log "ok: $3 = $1"
}

# ---------------------------------------------------------------------------------------
# The program.

# Starts the program in the background in its folder (the settings beside it are looked
# for in the working folder); E2E_PID is its process.
e2e_start_program() {
  (cd "$E2E_PROGRAM_DIR" && exec wine "$E2E_PROGRAM" "$@" </dev/null >>"$E2E_DIR/program.out" 2>&1) &
  E2E_PID=$!
  e2e_log "started $E2E_PROGRAM${*:+ $*} as $E2E_PID"
}

# Runs a start of the program to its end (at most E2E_START_SECONDS); E2E_RC is its exit
# code, 124 when it had to be stopped.
e2e_run_program() {
  E2E_RC=0
  (cd "$E2E_PROGRAM_DIR" && exec timeout "${E2E_START_SECONDS:-60}" wine "$E2E_PROGRAM" "$@" \
    </dev/null >>"$E2E_DIR/program.out" 2>&1) || E2E_RC=$?
  e2e_log "$E2E_PROGRAM${*:+ $*} exited with $E2E_RC"
}

# Waits at most SECONDS for the program started by e2e_start_program to end; E2E_EXIT is
# its exit code. Not for a command substitution: only this shell can wait for its child.
e2e_wait_program_exit() {
  local seconds="$1" deadline=$((SECONDS + $1))
  while kill -0 "$E2E_PID" 2>/dev/null && [ "$(e2e_state "$E2E_PID")" != Z ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "process $E2E_PID still running after ${seconds}s"
    sleep 0.2
  done
  E2E_EXIT=0
  wait "$E2E_PID" || E2E_EXIT=$?
  e2e_log "process $E2E_PID exited with $E2E_EXIT"
}

e2e_state() { awk '{print $3}' "/proc/$1/stat" 2>/dev/null || true; }

# The Unix process ids of the running Lumivane.exe processes of this prefix, one a line.
# Wine names each process after its executable.
e2e_program_pids() {
  local pid
  for pid in $(pgrep -x "$E2E_PROGRAM" || true); do
    [ "$(e2e_state "$pid")" != Z ] || continue
    tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    echo "$pid"
  done
}

e2e_program_count() { e2e_program_pids | wc -l; }

# Runs the test probe (tests/e2e/tools/e2e_tool.cpp); its output goes to stdout.
e2e_tool() {
  local out="$E2E_DIR/tool.out" rc=0
  timeout 30 wine "$E2E_WINDOWS/e2e_tool.exe" "$@" </dev/null >"$out" 2>>"$E2E_DIR/tool.err" || rc=$?
  tr -d '\r' <"$out"
  return "$rc"
}

e2e_window_present() { e2e_tool find-window >/dev/null; }

# e2e_list_cell ROW COLUMN: the text of a cell of the popup's monitor list, ROW counted
# from 1 as e2e_fleet_value counts monitors, COLUMN as the list's (0 the name, 1
# brightness, 2 contrast, 3 to 5 red, green, blue); empty for a cell or row not there.
e2e_list_cell() {
  local cells
  cells="$(e2e_tool list-cells)" || return 1
  printf '%s\n' "$cells" | awk -F '\t' -v row="$1" -v column="$2" 'NR == row { print $(column + 1) }'
}

# Absent means the probe ran and found none (exit 1), not that it failed.
e2e_window_absent() {
  local rc=0
  e2e_tool find-window >/dev/null || rc=$?
  [ "$rc" -eq 1 ]
}

# ---------------------------------------------------------------------------------------
# Waiting.

# e2e_wait SECONDS WHAT COMMAND...: polls COMMAND until it succeeds; fails the scenario
# with WHAT when it has not within SECONDS.
e2e_wait() {
  local seconds="$1" what="$2" start=$SECONDS
  shift 2
  e2e_poll "$seconds" "$@" || fail "waited ${seconds}s for: $what"
  e2e_log "after $((SECONDS - start))s: $what"
}

# e2e_poll SECONDS COMMAND...: as e2e_wait, but returns 1 when the time is up.
e2e_poll() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.25
  done
}

e2e_count_is() { [ "$(e2e_program_count)" -eq "$1" ]; }

# e2e_file_has FILE EXTENDED-REGEX
e2e_file_has() { [ -f "$1" ] && grep -Eq -- "$2" "$1"; }

# A program process other than the one given.
e2e_other_program_running() {
  local old="$1" pid
  for pid in $(e2e_program_pids); do [ "$pid" != "$old" ] && return 0; done
  return 1
}

e2e_process_gone() { ! kill -0 "$1" 2>/dev/null || [ "$(e2e_state "$1")" = Z ]; }

# E2E_RUNNING: the single running program process; fails when there is not exactly one.
e2e_find_the_program() {
  local pids
  pids="$(e2e_program_pids)"
  [ "$(printf '%s' "$pids" | grep -c .)" -eq 1 ] || fail "expected one $E2E_PROGRAM, found: ${pids//$'\n'/ }"
  E2E_RUNNING="$pids"
}

# Started and settled: the window exists and the settings were saved in both places.
e2e_wait_ready() {
  e2e_wait "${1:-30}" "the program's window" e2e_window_present
  e2e_wait 20 "settings beside the program" e2e_file_has "$E2E_LOCAL_SETTINGS" '<set '
  e2e_wait 20 "settings in the roaming folder" e2e_file_has "$E2E_ROAMING_SETTINGS" '<set '
}

# After a restart: the new instance has finished its start-up and saved the cleared
# restart flag (the file keeps it for older versions; no start reads it any more).
e2e_wait_restart_cleared() {
  e2e_wait 20 "restartflag cleared by the new instance" \
    e2e_file_has "$E2E_LOCAL_SETTINGS" '<set restartflag="N">'
}

# ---------------------------------------------------------------------------------------
# The simulated hardware.

# e2e_fleet_value MONITOR KEY: the value of KEY of the MONITOR-th physical monitor (from
# 1, across displays) in the fleet file; for a range the current value.
e2e_fleet_value() {
  awk -v want="$1" -v key="$2" '
    /^\[/ { inside = /^\[monitor\]/; monitor += inside; next }
    inside && monitor == want {
      line = $0
      sub(/[ \t]+#.*/, "", line)
      name = substr(line, 1, index(line, "=") - 1)
      gsub(/[ \t]/, "", name)
      if (name != key) next
      n = split(substr(line, index(line, "=") + 1), word, " ")
      print (n == 3 ? word[2] : word[1])
      exit
    }' "$E2E_FLEET"
}

# e2e_fleet_edit SED-EXPRESSION: changes the hardware under the running program. The file
# is replaced by a rename, as the simulated dxva2.dll expects.
e2e_fleet_edit() {
  local next="$E2E_FLEET.edit"
  sed -e "$1" "$E2E_FLEET" >"$next"
  mv -f "$next" "$E2E_FLEET"
}

# ---------------------------------------------------------------------------------------
# Settings files.

# e2e_setting FILE KEY: the value of <set KEY="..."> (keys compare without case); empty
# when the file or the key is missing.
e2e_setting() {
  [ -f "$1" ] || return 0
  sed -n "s/.*<set $2=\"\\([^\"]*\\)\".*/\\1/Ip" "$1" 2>/dev/null | head -n 1 || true
}

e2e_setting_count() {
  if [ -f "$1" ]; then grep -c '<set ' "$1" || true; else echo 0; fi
}

# ---------------------------------------------------------------------------------------
# Screenshots: build/e2e/screenshots/NAME.png.

e2e_screenshot() {
  local file="$E2E_SCREENSHOTS/$1.png"
  mkdir -p "$E2E_SCREENSHOTS"
  if timeout 30 import -display "$DISPLAY" -window root "$file" </dev/null >/dev/null 2>&1; then
    e2e_log "screenshot $file"
  else
    e2e_log "no screenshot: import failed"
    return 1
  fi
}

# e2e_write_settings FILE KEY=VALUE...: a settings file holding only these keys, as a
# user's older or hand-made file would; the program takes the defaults for the rest.
e2e_write_settings() {
  local file="$1" pair
  shift
  mkdir -p "$(dirname "$file")"
  {
    printf '<?xml version="1.0" encoding="UTF-8"?>\n<settings Lumivane="4.4">\n'
    for pair in "$@"; do printf '  <set %s="%s"></set>\n' "${pair%%=*}" "${pair#*=}"; done
    printf '</settings>\n'
  } >"$file"
}

# ---------------------------------------------------------------------------------------
# Pointer and menus.

# e2e_click_row BUTTON ROW: clicks row ROW (from 0) of the popup's monitor list with mouse
# button BUTTON (1 left, 3 right) in its middle.
e2e_click_row() {
  local left top right bottom
  read -r left top right bottom <<<"$(e2e_tool row-rect "$2")" || fail "no row $2 in the list"
  xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2)) click "$1"
}

# e2e_click_free_spot BUTTON: clicks the popup's left margin, beside the preset buttons,
# where no control is.
e2e_click_free_spot() {
  local left top right bottom
  read -r left top right bottom <<<"$(e2e_tool window-rect)" || fail "no popup"
  xdotool mousemove $((left + 8)) $(((top + bottom) / 2)) click "$1"
}

e2e_menu_open() { e2e_tool find-class '#32768'; }
e2e_menu_closed() { ! e2e_menu_open >/dev/null; }

# e2e_menu_pick KEY...: in the menu just opened, moves by KEYs and takes the item. No
# process can read another's menu under Wine, so keys choose: Up from the closed state is
# the last item, Down the first, separators are skipped. Wine's menu takes keys only when
# it was opened from the visible popup, not from an icon.
e2e_menu_pick() {
  e2e_wait 10 "a menu open" e2e_menu_open
  xdotool key "$@" Return
  e2e_wait 10 "the menu closed" e2e_menu_closed
}

e2e_popup_hidden() { ! e2e_tool is-visible >/dev/null; }

# e2e_now_ms: the wall clock in milliseconds, as the probe's power-watch prints it.
e2e_now_ms() { date +%s%3N; }

# e2e_start_power_watch: a probe window that notes each monitor-power broadcast in
# E2E_POWER_LOG ("monitor-power LPARAM at MS").
e2e_start_power_watch() {
  E2E_POWER_LOG="$E2E_DIR/power-watch.out"
  (cd "$E2E_DIR" && exec wine "$E2E_WINDOWS/e2e_tool.exe" power-watch 170 </dev/null >"$E2E_POWER_LOG" 2>&1) &
  e2e_wait 15 "the power watch ready" e2e_file_has "$E2E_POWER_LOG" '^ready'
}

# The broadcasts noted so far, a line each (Wine's console ends the probe's lines with CR LF).
e2e_power_lines() { tr -d '\r' <"$E2E_POWER_LOG" | grep '^monitor-power' || true; }
e2e_power_broadcasts() { e2e_power_lines | grep -c . || true; }
