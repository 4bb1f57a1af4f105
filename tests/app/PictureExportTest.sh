#!/usr/bin/env bash
# The picture leaves the real program on a virtual X display, by the keys a user presses: a layer
# is added and its text typed; Ctrl+Shift+C puts the canvas on the clipboard, which another
# program (xclip) reads as PNG while the program serves it, and which must equal the canvas on the
# screen pixel for pixel; Ctrl+E opens the save dialog, where the typed name "typed" becomes
# typed.png in the pictures folder, again equal to the canvas. The program keeps no settings of
# the dialog, and ends cleanly.
#
# usage: tests/support/on-virtual-display PictureExportTest.sh PROGRAM CLOSE_WINDOW WORK_DIR
# (on a virtual X display of its own, as the suite runs it)
set -euo pipefail

program=$1 close_window=$2 work=$3
source "$(dirname "$0")/../support/ProgramWindows.sh"
fresh_home Pictures
shot=$work/screen.png

start_program

# Add a layer and type two lines into the memo; the canvas then shows dark text.
add_layer_typing Hello World
ink=0
for _ in $(seq 1 50); do
  grab_canvas "$work/canvas.png"
  ink=$(dark_pixels "$work/canvas.png")
  [ "$ink" -gt 100 ] && break
  sleep 0.2
done
[ "$ink" -gt 100 ] || fail "the typed text is not drawn ($ink dark pixels)"

# Copy: the clipboard holds a PNG that another program reads while this one keeps running.
xdotool key ctrl+shift+c
copied=""
for _ in $(seq 1 50); do
  if timeout 10 xclip -selection clipboard -t image/png -o >"$work/clipboard.png" 2>/dev/null &&
    [ "$(identify -format '%m %wx%h' "$work/clipboard.png" 2>/dev/null)" = "PNG 200x200" ]; then
    copied=yes
    break
  fi
  sleep 0.2
done
[ -n "$copied" ] || fail "the clipboard holds no 200 x 200 PNG: $(xclip -selection clipboard -t TARGETS -o 2>&1 | tr '\n' ' ')"
grab_canvas "$work/canvas.png"
[ "$(differing "$work/clipboard.png" "$work/canvas.png")" = 0 ] ||
  fail "the clipboard's image differs from the canvas in $(differing "$work/clipboard.png" "$work/canvas.png") pixels"
echo "ok: the clipboard's PNG equals the canvas"

# Export: Ctrl+E, the dialog takes the keys, a name without an extension gets the default's.
xdotool key ctrl+e
dialog=""
for _ in $(seq 1 50); do
  tree=$(xwininfo -root -tree 2>/dev/null) || tree=""
  dialog=$(geometry "Save picture")
  [ -n "$dialog" ] && break
  sleep 0.2
done
[ -n "$dialog" ] || fail "the save dialog did not open"
xdotool key ctrl+a
xdotool type --delay 20 "typed"
xdotool key Return
saved=$HOME/Pictures/typed.png
for _ in $(seq 1 50); do
  [ -f "$saved" ] && break
  sleep 0.2
done
[ -f "$saved" ] || fail "no file was saved: $(ls -A "$HOME/Pictures" | tr '\n' ' ')"
[ "$(ls -A "$HOME/Pictures")" = typed.png ] || fail "the pictures folder holds $(ls -A "$HOME/Pictures" | tr '\n' ' ')"
[ "$(identify -format '%m %wx%h' "$saved")" = "PNG 200x200" ] || fail "the saved file is $(identify "$saved")"
[ "$(differing "$saved" "$work/canvas.png")" = 0 ] ||
  fail "the saved file differs from the canvas in $(differing "$saved" "$work/canvas.png") pixels"
[ ! -e "$HOME/.config/QtProject.conf" ] || fail "the program wrote the dialog's settings"
echo "ok: Ctrl+E saved typed.png, equal to the canvas"

close_program_discarding "$close_window" "$pid"
echo "ok: exit 0"
