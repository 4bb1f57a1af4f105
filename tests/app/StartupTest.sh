#!/usr/bin/env bash
# Starts the real program on a virtual X display and checks what it shows: the two windows
# "MainForm" and "LayerForm" at their places and sizes and a white 200 x 200 canvas. Then it
# goes the road of a user, with the real mouse and keyboard (xdotool's synthetic input, which
# the program receives as it receives a person's), and checks the canvas's pixels after each
# step: add a layer, type its text, centre it, hide and show it, make it red with the colour
# picker, drag it. Last, the program must end cleanly, with exit code 0, when the main window
# is asked to close and its question whether to save the changes is answered Discard.
#
# No window manager runs under Xvfb, so no frame is drawn: a window's outer rectangle is its
# X window, which is what xwininfo reports and what is checked here. The places of the panel's
# controls below are those of its layout, from the panel's top-left corner.
#
# usage: tests/support/on-virtual-display StartupTest.sh PROGRAM CLOSE_WINDOW WORK_DIR
# (on a virtual X display of its own, as the suite runs it)
set -euo pipefail

program=$1 close_window=$2 work=$3
source "$(dirname "$0")/../support/ProgramWindows.sh"
mkdir -p "$work"
shot=$work/startup.png

timeout 120 "$program" &
pid=$!

wait_for_windows "$pid"
main=$(geometry MainForm)
panel=$(geometry LayerForm)
[ "$main" = "345x315+302+231" ] || fail "MainForm is at $main"
[ "$panel" = "150x474+152+231" ] || fail "LayerForm is at $panel"

# The main window below its 41-pixel tool strip: the only white there is the canvas, which
# must be exactly 200 x 200 and white all over. Looked at again until the first paint is done.
wait_for_canvas

# --- The road of a user ---

px=152 py=231  # the panel's top-left corner

# What the canvas shows: the box around its non-white pixels as "W H X Y" (0 0 when it is all
# white), how many pixels are pure red, and how many are black or nearly.
canvas_state() {
  import -window root "$shot"
  local box
  box=$(convert "$shot" -crop "200x200+$cx+$cy" +repage -bordercolor white -border 1 -format '%@' info: 2>/dev/null)
  box=$(sed -E 's/^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$/\1 \2 \3 \4/' <<<"$box")
  read -r w h x y <<<"$box"
  if [ "$w" -eq 0 ]; then echo "0 0 0 0"; else echo "$w $h $((x - 1)) $((y - 1))"; fi
  convert "$shot" -crop "200x200+$cx+$cy" +repage -fill white +opaque red -fill black -opaque red \
    -format '%[fx:round((1-mean)*w*h)]\n' info:
  convert "$shot" -crop "200x200+$cx+$cy" +repage -fx 'max(r,max(g,b)) < 0.25 ? 1 : 0' \
    -format '%[fx:round(mean*w*h)]\n' info:
}

# Runs the check named $1 on the canvas until it passes; gives up after about 10 seconds. The
# check reads $w $h $x $y (the ink box), $reds and $blacks.
w=0 h=0 x=0 y=0 reds=0 blacks=0
until_canvas() {
  local check=$1 what=$2
  for _ in $(seq 1 50); do
    { read -r w h x y; read -r reds; read -r blacks; } < <(canvas_state)
    if $check; then
      echo "ok: $what (ink ${w}x${h} at $x,$y, red $reds, black $blacks)"
      return 0
    fi
    sleep 0.2
  done
  fail "$what: the canvas shows ink ${w}x${h} at $x,$y, $reds red and $blacks black pixels"
}

# Add: a new layer, its text the tick count, drawn in black at the canvas's top-left corner.
click $((px + 20)) $((py + 20))
at_top_left() { [ "$w" -gt 0 ] && [ "$x" -le 2 ] && [ "$y" -le 6 ] && [ "$blacks" -gt 0 ]; }
until_canvas at_top_left "a new layer stands at the top-left corner"
one_line=$h

# Text: two lines typed into the memo replace the tick count.
click $((px + 75)) $((py + 290))
xdotool key ctrl+a
xdotool type --delay 20 "Hello"
xdotool key Return
xdotool type --delay 20 "World"
two_lines() { [ "$h" -gt $((2 * one_line)) ] && [ "$x" -le 2 ] && [ "$y" -le 6 ]; }
until_canvas two_lines "the typed two lines are drawn"
text_w=$w text_h=$h

# Centre: the block in the middle of the canvas.
click $((px + 103)) $((py + 380))
centred() {
  [ "$w" -eq "$text_w" ] && [ "$h" -eq "$text_h" ] && [ $((2 * x + w - 200)) -ge -3 ] &&
    [ $((2 * x + w - 200)) -le 3 ] && [ $((2 * y + h - 200)) -ge -8 ] && [ $((2 * y + h - 200)) -le 8 ]
}
until_canvas centred "the text is centred"
centre_x=$x centre_y=$y

# Hide and show: the row's visibility box.
click $((px + 11)) $((py + 52))
empty() { [ "$w" -eq 0 ]; }
until_canvas empty "the hidden layer is not drawn"
click $((px + 11)) $((py + 52))
until_canvas centred "the shown layer is drawn again"

# Colour: the colour picker, its red cell, OK.
click $((px + 41)) $((py + 380))
picker=""
for _ in $(seq 1 50); do
  tree=$(xwininfo -root -tree 2>/dev/null) || tree=""
  picker=$(geometry ColorForm)
  [ -n "$picker" ] && break
  sleep 0.2
done
[ -n "$picker" ] || fail "the colour picker did not open"
# A picker too carries the program's icon, as every window does.
picker_icon=$(xprop -id "$(window_id ColorForm)" _NET_WM_ICON)
grep -q 'Icon (16 x 16)' <<<"$picker_icon" || fail "the colour picker has no icon"
read -r fx fy < <(sed -E 's/^[0-9]+x[0-9]+\+(-?[0-9]+)\+(-?[0-9]+)$/\1 \2/' <<<"$picker")
# The grid's cell of column 30, row 0 (red level 5, green 0, blue 0), clicked once the picker
# shows it, then OK.
cell_x=$((fx + 8 + 2 + 30 * 7 + 3)) cell_y=$((fy + 64 + 2 + 3))
cell=""
for _ in $(seq 1 50); do
  import -window root "$shot"
  cell=$(convert "$shot" -format "%[pixel:p{$cell_x,$cell_y}]" info:)
  [ "$cell" = "srgb(255,0,0)" ] || [ "$cell" = "red" ] && break
  sleep 0.2
done
[ "$cell" = "srgb(255,0,0)" ] || [ "$cell" = "red" ] || fail "the colour picker's grid shows $cell where red belongs"
click "$cell_x" "$cell_y"
click $((fx + 189 + 19)) $((fy + 120 + 4 + 13))
red() { [ "$reds" -gt 10 ] && [ "$blacks" -eq 0 ] && [ "$x" -eq "$centre_x" ] && [ "$y" -eq "$centre_y" ]; }
until_canvas red "the text is red"

# Drag: press on the canvas, move in steps, release 30 pixels right and 20 down.
xdotool mousemove $((cx + 100)) $((cy + 150)) mousedown 1
for step in 1 2 3; do xdotool mousemove $((cx + 100 + 10 * step)) $((cy + 150 + 7 * step)); done
xdotool mousemove $((cx + 130)) $((cy + 170)) mouseup 1
dragged() { [ "$x" -eq $((centre_x + 30)) ] && [ "$y" -eq $((centre_y + 20)) ] && [ "$w" -eq "$text_w" ] && [ "$reds" -gt 10 ]; }
until_canvas dragged "the drag moved the text by 30, 20"

close_program_discarding "$close_window" "$pid"
echo "ok: MainForm $main, LayerForm $panel, canvas 200 x 200 white, exit 0"
