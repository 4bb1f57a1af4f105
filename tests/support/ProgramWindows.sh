# Sourced by the tests that run the real program on a virtual X display.

# Under AddressSanitizer, the program's allocations are unwound in full (slower, and so only in
# these tests): the leak suppressions name functions of system libraries built without frame
# pointers.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:fast_unwind_on_malloc=0"

# Empties the work folder $work and gives the test a home of its own in it, with the FOLDERs
# named: the dialogs open in its Documents and Pictures, where what the program writes is seen.
fresh_home() {
  local folder
  rm -rf "$work"
  export HOME=$work/home
  unset XDG_CONFIG_HOME
  mkdir -p "$HOME"
  for folder in "$@"; do mkdir -p "$HOME/$folder"; done
}

# Starts $program, ended after SECONDS (120 unless given), with no window manager: waits until
# its windows and canvas show, and sets pid, the canvas's cx, cy and the layer panel's corner
# px, py.
start_program() {
  timeout "${1:-120}" "$program" &
  pid=$!
  wait_for_windows "$pid"
  wait_for_canvas
  px=152 py=231
}

# Starts $program, ended after SECONDS, under a window manager: waits until its windows show,
# and sets pid, the main window's id main and the layer panel's client corner px, py.
start_program_framed() {
  timeout "$1" "$program" &
  pid=$!
  read -r main _ _ < <(client_windows MainForm)
  read -r _ px py < <(client_windows LayerForm)
}

# Waits, for about 10 seconds, until the canvas as the screen shows it equals the image FILE;
# fails with WHY and how many pixels differ when it does not.
wait_for_canvas_like() {
  local now=$work/now.png
  for _ in $(seq 1 50); do
    grab_canvas "$now"
    [ "$(differing "$1" "$now")" = 0 ] && return 0
    sleep 0.2
  done
  fail "$2 in $(differing "$1" "$now") pixels"
}

# Clicks the first mouse button at X, Y on the screen.
click() { xdotool mousemove "$1" "$2" click 1; }

# Adds a layer with the layer panel's first button, the panel's client area standing at $px, $py,
# and types the LINEs into the layer's memo in place of its text.
add_layer_typing() {
  local line first=yes
  click $((px + 20)) $((py + 20))
  click $((px + 75)) $((py + 290))
  xdotool key ctrl+a
  for line in "$@"; do
    [ -n "$first" ] || xdotool key Return
    first=""
    xdotool type --delay 20 "$line"
  done
}

# The canvas, at $cx, $cy on the screen (see wait_for_canvas), as the screen shows it, into FILE.
grab_canvas() {
  import -window root "$shot"
  convert "$shot" -crop "200x200+$cx+$cy" +repage "$1"
}

# How many pixels of the images A and B differ.
differing() { compare -metric AE "$1" "$2" null: 2>&1 || true; }

# How many pixels of the image FILE are dark, as the default colour's text is.
dark_pixels() { convert "$1" -fx 'max(r,max(g,b)) < 0.25 ? 1 : 0' -format '%[fx:round(mean*w*h)]' info:; }

# Waits until the program's question, a message box titled "ZeltoZelto", shows and takes the
# keys; fails with WHY when it does not.
wait_for_question() {
  for _ in $(seq 1 50); do window_shown ZeltoZelto && break; sleep 0.1; done
  window_shown ZeltoZelto || fail "$1"
  sleep 0.3  # the question takes the keys once it is active
}

# Presses KEY on the program's question and waits until the question is gone.
answer_question() {
  xdotool key "$1"
  for _ in $(seq 1 50); do window_shown ZeltoZelto || return 0; sleep 0.1; done
  fail "$1 did not answer the question"
}

# Ends the test as failed with MESSAGE. A test that looks at the screen names its image file in
# $shot, which is kept as failed.png beside it.
fail() {
  echo "FAIL: $*" >&2
  if [ -n "${shot:-}" ] && [ -f "$shot" ]; then cp "$shot" "$(dirname "$shot")/failed.png"; fi
  exit 1
}

# "WIDTHxHEIGHT+X+Y" of the top-level window titled TITLE in $tree; nothing while there is none.
geometry() {
  grep -E "^ +0x[0-9a-f]+ \"$1\":" <<<"$tree" | grep -oE '[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+' | head -1 || true
}

# Waits until the program PID has mapped "MainForm" and "LayerForm" at their places (a window
# may show at another size or place for a moment before the program has placed it), for about
# 20 seconds at most, and leaves the window tree in $tree; fails if the program ends first. The
# panel stands left of the main window, tops level: 302 - 150 = 152.
wait_for_windows() {
  local pid=$1
  tree=""
  for _ in $(seq 1 100); do
    tree=$(xwininfo -root -tree 2>/dev/null) || tree=""
    [ "$(geometry MainForm)" = "345x315+302+231" ] && [ "$(geometry LayerForm)" = "150x474+152+231" ] && return 0
    kill -0 "$pid" 2>/dev/null || fail "the program ended before showing its windows"
    sleep 0.2
  done
}

# Waits until the main window shows its canvas, white and 200 x 200 below the 41-pixel tool strip
# (the only white there), for about 10 seconds, and sets cx, cy to the canvas's place on the
# screen. The caller names the screen's image file in $shot.
wait_for_canvas() {
  local white=""
  for _ in $(seq 1 50); do
    import -window root "$shot"
    white=$(convert "$shot" -crop 345x274+302+272 +repage -fill black +opaque white -trim +repage \
      -format '%w %h %[fx:mean]' info:)
    [ "$white" = "200 200 1" ] && break
    sleep 0.2
  done
  [ "$white" = "200 200 1" ] || fail "the white area below the tool strip is (width height mean) $white"
  read -r cx cy < <(convert "$shot" -crop 345x274+302+272 +repage -fill black +opaque white \
    -format '%@\n' info: | sed -E 's/^[0-9]+x[0-9]+\+([0-9]+)\+([0-9]+)$/\1 \2/')
  cx=$((302 + cx)) cy=$((272 + cy))
}

# The id of the top-level window titled TITLE in $tree.
window_id() {
  grep -oE "^ +0x[0-9a-f]+ \"$1\":" <<<"$tree" | grep -oE '0x[0-9a-f]+'
}

# Asks MainForm to close, as close_program does, when the composition has unsaved changes: the
# program asks whether to save them, and Alt+D discards them; it must then end with exit code 0.
close_program_discarding() {
  local close_window=$1 pid=$2 status=0
  "$close_window" MainForm || fail "could not ask MainForm to close"
  wait_for_question "closing with unsaved changes asked nothing"
  answer_question alt+d
  wait "$pid" || status=$?
  [ "$status" -eq 0 ] || fail "the program ended with $status"
}

# Asks MainForm to close, as its close box does (CLOSE_WINDOW is tests/app's close_window), and
# fails unless the program PID then ends with exit code 0.
close_program() {
  local close_window=$1 pid=$2 status=0
  "$close_window" MainForm || fail "could not ask MainForm to close"
  wait "$pid" || status=$?
  [ "$status" -eq 0 ] || fail "the program ended with $status"
}

# Under a window manager, which frames the windows: waits until the windows titled by the
# arguments are shown and prints, a line each, the id of each and the screen position of its
# client area's top-left corner ("ID X Y"), once they stand still (the window manager may move a
# window after it shows), for about 20 seconds at most.
client_windows() {
  local lines title before=""
  for _ in $(seq 1 100); do
    lines=""
    for title in "$@"; do
      local line
      line=$(xwininfo -root -tree 2>/dev/null | grep -E "^ +0x[0-9a-f]+ \"$title\":" |
        sed -E 's/^ +(0x[0-9a-f]+) .* \+(-?[0-9]+)\+(-?[0-9]+)$/\1 \2 \3/' | head -1) || true
      [ -n "$line" ] || break
      # A window the program has made but not yet shown is listed too.
      [[ "$(xwininfo -id "${line%% *}" 2>/dev/null)" == *"Map State: IsViewable"* ]] || break
      lines+="$line"$'\n'
    done
    [ "$(grep -c . <<<"$lines")" -eq $# ] && [ "$lines" = "$before" ] && { printf '%s' "$lines"; return 0; }
    before=$lines
    sleep 0.2
  done
  fail "the windows $* did not show"
}

# Whether the window titled TITLE is mapped (shown) now.
window_shown() {
  local id ids
  ids=$(xwininfo -root -tree 2>/dev/null | grep -E "^ +0x[0-9a-f]+ \"$1\":" | sed -E 's/^ +(0x[0-9a-f]+) .*/\1/') || true
  for id in $ids; do
    [[ "$(xwininfo -id "$id" 2>/dev/null)" == *"Map State: IsViewable"* ]] && return 0
  done
  return 1
}
