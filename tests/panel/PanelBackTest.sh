#!/usr/bin/env bash
# Under a window manager, as on a user's desktop: the layer panel's close box hides it, and Ctrl+L
# in the main window shows it again at its place, working: a layer typed into before the close
# takes more typing after it.
#
# usage: tests/support/on-virtual-display --window-manager PanelBackTest.sh PROGRAM CLOSE_WINDOW WORK_DIR
set -euo pipefail

program=$1 close_window=$2 work=$3
source "$(dirname "$0")/../support/ProgramWindows.sh"
fresh_home
shot=$work/main.png

start_program_framed 120

# The width of the canvas's ink, from a picture of the main window alone; waits until it is
# wider than $1 pixels.
ink_wider_than() {
  local width=0
  for _ in $(seq 1 50); do
    import -window "$main" "$shot"
    width=$(convert "$shot" -crop 200x200+1+42 +repage -bordercolor white -border 1 -trim +repage -format '%w' info:)
    [ "$width" -gt "$1" ] && [ "$width" -lt 200 ] && { echo "$width"; return 0; }
    sleep 0.2
  done
  fail "the canvas's ink is $width wide, not wider than $1"
}

add_layer_typing x
ink=$(ink_wider_than 0)

"$close_window" LayerForm || fail "could not ask LayerForm to close"
for _ in $(seq 1 50); do window_shown LayerForm || break; sleep 0.1; done
! window_shown LayerForm || fail "the close box did not hide the panel"
xdotool windowactivate --sync "$main"
xdotool key ctrl+l
for _ in $(seq 1 50); do window_shown LayerForm && break; sleep 0.1; done
window_shown LayerForm || fail "Ctrl+L did not show the panel"
read -r _ qx qy < <(client_windows LayerForm)
[ "$qx $qy" = "$px $py" ] || fail "the panel came back at $qx,$qy, not at $px,$py"
echo "ok: the panel is back at $qx,$qy"

xdotool mousemove $((px + 75)) $((py + 290)) click 1
xdotool key End
xdotool type --delay 30 "yz"
ink=$(ink_wider_than "$ink")
echo "ok: typing in the panel's memo goes on (ink $ink wide)"

close_program_discarding "$close_window" "$pid"
