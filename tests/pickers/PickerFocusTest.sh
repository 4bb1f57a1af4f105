#!/usr/bin/env bash
# Under a window manager, as on a user's desktop: after a picker closes, however it closes, the
# focus is back on the window and control that opened it. Each picker is opened from the layer
# panel while the memo has the focus, closed with Enter, Esc, its close box, its OK button or its
# Cancel button, and then "a1" is typed. It must never reach the main window's width field, which would take
# the digit and resize the canvas. The layer's font and colour buttons take no focus when
# clicked, so the keys reach the memo, which still has it: the layer's text grows on the canvas.
# The default font's and colour's buttons take the focus when clicked, so they have it again:
# the text stays, and Space presses the button, opening its picker once more.
#
# usage: tests/support/on-virtual-display --window-manager PickerFocusTest.sh PROGRAM CLOSE_WINDOW WORK_DIR
set -euo pipefail

program=$1 close_window=$2 work=$3
source "$(dirname "$0")/../support/ProgramWindows.sh"
fresh_home
shot=$work/main.png

start_program_framed 170

# The canvas in the main window, from a picture of the main window alone: the size of the white
# area below the tool strip as "W H", then the size of the box around the non-white pixels inside
# it as "W H".
canvas_state() {
  import -window "$main" "$shot"
  local box
  box=$(convert "$shot" -crop 345x274+0+41 +repage -fill black +opaque white -trim -format '%w %h %X %Y' info:)
  read -r w h x y <<<"$box"
  echo -n "$w $h "
  convert "$shot" -crop "${w}x${h}+$((x))+$((41 + y))" +repage -bordercolor white -border 1 -trim +repage \
    -format '%w %h\n' info:
}

# Waits until the canvas is 200 x 200 and its ink is wider than $1 pixels; prints the ink's width.
wait_for_ink_wider_than() {
  local white_w white_h ink_w ink_h
  for _ in $(seq 1 50); do
    read -r white_w white_h ink_w ink_h < <(canvas_state)
    if [ "$white_w $white_h" = "200 200" ] && [ "$ink_w" -gt "$1" ] && [ "$ink_w" -lt 200 ]; then
      echo "$ink_w"
      return 0
    fi
    sleep 0.2
  done
  fail "the canvas's white area is ${white_w}x${white_h} and its ink ${ink_w} wide, not wider than $1"
}

# Checks, after the keys had time to arrive, that the canvas is 200 x 200 with ink $1 wide.
expect_canvas_unchanged() {
  local white_w white_h ink_w ink_h
  sleep 0.5
  read -r white_w white_h ink_w ink_h < <(canvas_state)
  [ "$white_w $white_h $ink_w" = "200 200 $1" ] ||
    fail "$2: the canvas's white area is ${white_w}x${white_h} and its ink ${ink_w} wide, not 200x200 and $1"
}

# Waits until the dialog titled $1 is gone.
wait_until_closed() {
  for _ in $(seq 1 50); do window_shown "$1" || return 0; sleep 0.1; done
  fail "$2: $1 did not close"
}

# Add a layer and give it a short text, typed into the memo, which keeps the focus.
add_layer_typing x
ink=$(wait_for_ink_wider_than 0)

# The panel's buttons, by the middle of each in the panel's client area.
declare -A button=([layer-font]="16 380" [layer-colour]="41 380" [default-font]="16 405" [default-colour]="41 405")
# Which of them keep the focus once clicked.
declare -A takes_focus=([layer-font]="" [layer-colour]="" [default-font]=yes [default-colour]=yes)
declare -A dialog=([layer-font]=FontForm [layer-colour]=ColorForm [default-font]=FontForm [default-colour]=ColorForm)
# Each dialog's OK and Cancel buttons, by their middles in the dialog's client area.
declare -A ok=([FontForm]="180 252" [ColorForm]="208 137")
declare -A cancel=([FontForm]="212 252" [ColorForm]="249 137")

cases=()
for opener in layer-colour layer-font default-font default-colour; do
  for way in Return Escape close-box ok cancel; do cases+=("$opener $way"); done
done
for c in "${cases[@]}"; do
  read -r opener way <<<"$c"
  title=${dialog[$opener]}
  read -r bx by <<<"${button[$opener]}"
  click $((px + bx)) $((py + by))
  read -r _ dx dy < <(client_windows "$title")
  sleep 0.3  # the dialog takes the keys once it is active
  case "$way" in
    Return | Escape) xdotool key "$way" ;;
    close-box) "$close_window" "$title" || fail "$c: could not ask $title to close" ;;
    ok) read -r cx cy <<<"${ok[$title]}"; click $((dx + cx)) $((dy + cy)) ;;
    cancel) read -r cx cy <<<"${cancel[$title]}"; click $((dx + cx)) $((dy + cy)) ;;
  esac
  wait_until_closed "$title" "$c"
  xdotool type --delay 30 "a1"
  if [ -n "${takes_focus[$opener]}" ]; then
    expect_canvas_unchanged "$ink" "$c"
    xdotool key space
    client_windows "$title" >/dev/null
    sleep 0.3
    xdotool key Escape
    wait_until_closed "$title" "$c, opened again"
    echo "ok: $c, then the button had the focus again"
  else
    ink=$(wait_for_ink_wider_than "$ink") || fail "$c: the typed keys did not reach the memo"
    echo "ok: $c, then typing reached the memo (ink $ink wide)"
  fi
done

close_program_discarding "$close_window" "$pid"
