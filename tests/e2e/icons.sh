# shellcheck shell=bash
# The program's notification icons as the screen shows them. Each icon draws its number
# in a colour of its own on transparent pixels, unsmoothed, so the pixels of exactly that
# colour in the task bar are the icon's digits. Sourced after lib.sh by the scenarios
# that look at the icons; every function works on the last grab, $E2E_DIR/screen.png.

# The default colours (COLORREF 0x00BBGGRR: brightness 0x8000FF, contrast 0x11D21B,
# volume 0xFF8080) as the screen shows them.
declare -A E2E_ICON_COLOUR=(
  [brightness]="rgb(255,0,128)"
  [contrast]="rgb(27,210,17)"
  [volume]="rgb(128,128,255)"
)
E2E_ICON_KINDS=(brightness contrast volume)
# "width height left top" of each icon's coloured pixels on the screen; empty when none.
declare -A E2E_ICON_BOX=()

# The task bar's rectangle (E2E_BAR_LEFT/TOP/RIGHT/BOTTOM) and the small-icon size
# (E2E_ICON_W/H) under this Wine.
e2e_icons_geometry() {
  local found window
  read -r found window E2E_BAR_LEFT E2E_BAR_TOP E2E_BAR_RIGHT E2E_BAR_BOTTOM <<<"$(e2e_tool find-class Shell_TrayWnd)"
  [ "$found" = found ] || { e2e_log "no task bar"; return 1; }
  read -r E2E_ICON_W E2E_ICON_H <<<"$(e2e_tool small-icon-size)"
  e2e_log "task bar $E2E_BAR_LEFT $E2E_BAR_TOP $E2E_BAR_RIGHT $E2E_BAR_BOTTOM (window $window), small icons ${E2E_ICON_W}x$E2E_ICON_H"
}

e2e_grab() {
  timeout 30 import -display "$DISPLAY" -window root "$E2E_DIR/screen.png" </dev/null >/dev/null 2>&1
}

# e2e_colour_box COLOUR: "width height left top" of the pixels of exactly COLOUR in the
# task bar of the last grab; empty when there are none.
e2e_colour_box() {
  local box
  box="$(convert "$E2E_DIR/screen.png" \
    -crop "$((E2E_BAR_RIGHT - E2E_BAR_LEFT))x$((E2E_BAR_BOTTOM - E2E_BAR_TOP))+$E2E_BAR_LEFT+$E2E_BAR_TOP" +repage \
    -fill black +opaque "$1" -fill white -opaque "$1" -format '%[fx:mean>0] %@' info: 2>/dev/null)" || return 1
  # "1 16x12+1006+4": a trim box relative to the task bar.
  [[ "$box" =~ ^1\ ([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 0
  echo "${BASH_REMATCH[1]} ${BASH_REMATCH[2]} $((BASH_REMATCH[3] + E2E_BAR_LEFT)) $((BASH_REMATCH[4] + E2E_BAR_TOP))"
}

# Grabs the screen and finds each icon by its colour; true when all three are there.
e2e_icons_find() {
  local kind missing=0
  e2e_grab || return 1
  for kind in "${E2E_ICON_KINDS[@]}"; do
    E2E_ICON_BOX[$kind]="$(e2e_colour_box "${E2E_ICON_COLOUR[$kind]}")"
    [ -n "${E2E_ICON_BOX[$kind]}" ] || missing=1
  done
  [ "$missing" -eq 0 ]
}

# Three icons side by side in the notification area, the task bar's right end: each
# colour's pixels fit into one small icon, the three do not share a column, and all lie
# within the last five icon widths of the task bar.
e2e_icons_check() {
  local kind other w h x y ow ox
  local area_left=$((E2E_BAR_RIGHT - 5 * E2E_ICON_W))
  for kind in "${E2E_ICON_KINDS[@]}"; do
    read -r w h x y <<<"${E2E_ICON_BOX[$kind]}"
    [ -n "${x:-}" ] || fail "no $kind icon (no pixel of ${E2E_ICON_COLOUR[$kind]} in the task bar)"
    e2e_log "ok: $kind icon: ${w}x$h pixels of ${E2E_ICON_COLOUR[$kind]} at $x,$y"
    [ "$w" -le "$E2E_ICON_W" ] && [ "$h" -le "$E2E_ICON_H" ] \
      || fail "$kind: ${w}x$h pixels of its colour do not fit into one ${E2E_ICON_W}x$E2E_ICON_H icon"
    [ "$x" -ge "$area_left" ] && [ $((x + w)) -le "$E2E_BAR_RIGHT" ] \
      || fail "$kind icon at x $x..$((x + w)), not in the notification area (x $area_left..$E2E_BAR_RIGHT)"
    for other in "${E2E_ICON_KINDS[@]}"; do
      [ "$other" != "$kind" ] || continue
      read -r ow _ ox _ <<<"${E2E_ICON_BOX[$other]}"
      [ $((x + w)) -le "$ox" ] || [ $((ox + ow)) -le "$x" ] || fail "$kind and $other icons overlap: x $x+$w, $ox+$ow"
    done
  done
  e2e_log "ok: three icons in the notification area"
}

# e2e_icon_shape KIND: the pixels of the icon's colour in its box, one row a line, '#'
# for the colour. The digits of every icon are drawn with one font and size, so two
# icons showing the same number have the same shape.
e2e_icon_shape() {
  local w h x y colour="${E2E_ICON_COLOUR[$1]}"
  read -r w h x y <<<"${E2E_ICON_BOX[$1]}"
  [ -n "${y:-}" ] || { echo "(none)"; return 0; }
  convert "$E2E_DIR/screen.png" -crop "${w}x$h+$x+$y" +repage \
    -fill white +opaque "$colour" -fill black -opaque "$colour" -compress none pbm:- |
    awk 'NR == 1 { next } /^#/ { next } !size { split($0, d, " "); width = d[1]; size = 1; next }
         { gsub(/[^01]/, ""); bits = bits $0 }
         END { gsub(/1/, "#", bits); gsub(/0/, ".", bits)
               for (i = 1; i <= length(bits); i += width) print substr(bits, i, width) }'
}

e2e_shapes_equal() { [ "$(e2e_icon_shape "$1")" = "$(e2e_icon_shape "$2")" ]; }

# e2e_icons_match A B yes|no: grabs until icons A and B have the same shape (yes) or not
# (no); true when that came within the poll.
e2e_icons_match() {
  e2e_icons_find || return 1
  if [ "$3" = yes ]; then e2e_shapes_equal "$1" "$2"; else ! e2e_shapes_equal "$1" "$2"; fi
}

# e2e_log_shapes A B: both shapes side by side in the log.
e2e_log_shapes() {
  e2e_log "$1 | $2:"
  paste -d ' ' <(e2e_icon_shape "$1") <(e2e_icon_shape "$2") >&2 || true
}

# e2e_icons_keep NAME: the last grab as NAME.png and the notification area, eight times
# enlarged, as NAME-tray.png, both under the screenshots.
e2e_icons_keep() {
  mkdir -p "$E2E_SCREENSHOTS"
  cp "$E2E_DIR/screen.png" "$E2E_SCREENSHOTS/$1.png"
  e2e_icons_crop "$1-tray"
  e2e_log "screenshots $E2E_SCREENSHOTS/$1.png and $1-tray.png"
}

# e2e_icons_crop NAME: the notification area of the last grab, from half an icon left of
# the leftmost icon to the task bar's end, eight times enlarged, as NAME.png.
e2e_icons_crop() {
  local kind w h x y left="$E2E_BAR_RIGHT"
  for kind in "${E2E_ICON_KINDS[@]}"; do
    read -r w h x y <<<"${E2E_ICON_BOX[$kind]}"
    [ -n "${x:-}" ] && [ "$x" -lt "$left" ] && left="$x"
  done
  left=$((left - E2E_ICON_W / 2))
  [ "$left" -ge "$E2E_BAR_LEFT" ] || left="$E2E_BAR_LEFT"
  mkdir -p "$E2E_SCREENSHOTS"
  convert "$E2E_DIR/screen.png" \
    -crop "$((E2E_BAR_RIGHT - left))x$((E2E_BAR_BOTTOM - E2E_BAR_TOP))+$left+$E2E_BAR_TOP" +repage \
    -scale 800% "$E2E_SCREENSHOTS/$1.png"
}

# e2e_icon_centre KIND: "x y" of the middle of the icon's digits, where a click hits it.
e2e_icon_centre() {
  local w h x y
  read -r w h x y <<<"${E2E_ICON_BOX[$1]}"
  echo "$((x + w / 2)) $((y + h / 2))"
}

# Absent means the probe ran and found no visible window of the class.
e2e_class_absent() {
  local rc=0
  e2e_tool find-class "$1" >/dev/null || rc=$?
  [ "$rc" -eq 1 ]
}

e2e_popup_hidden() {
  local rc=0
  e2e_tool is-visible >/dev/null || rc=$?
  [ "$rc" -eq 1 ]
}

# Waits for the three icons, which the program puts up at start.
e2e_icons_up() {
  e2e_icons_geometry || fail "no task bar to look for the icons in"
  e2e_wait 15 "three icons in the task bar" e2e_icons_find
}
