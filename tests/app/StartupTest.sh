#!/usr/bin/env bash
# Starts the real program on a virtual X display and checks what it shows: the two windows
# "MainForm" and "LayerForm" at their places and sizes, a white 200 x 200 canvas, and a clean
# end with exit code 0 when the main window is asked to close.
#
# No window manager runs under Xvfb, so no frame is drawn: a window's outer rectangle is its
# X window, which is what xwininfo reports and what is checked here.
#
# usage: StartupTest.sh PROGRAM CLOSE_WINDOW WORK_DIR
set -euo pipefail

if [ "${1:-}" != --inside ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --inside "$@"
fi
program=$2 close_window=$3 work=$4
unset QT_QPA_PLATFORM
mkdir -p "$work"
shot=$work/startup.png

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

timeout 60 "$program" &
pid=$!

# Waits for the windows to be mapped; gives up after about 20 seconds.
tree=""
for _ in $(seq 1 100); do
  tree=$(xwininfo -root -tree 2>/dev/null) || tree=""
  if grep -q '"MainForm"' <<<"$tree" && grep -q '"LayerForm"' <<<"$tree"; then break; fi
  kill -0 "$pid" 2>/dev/null || fail "the program ended before showing its windows"
  sleep 0.2
done

# "WIDTHxHEIGHT+X+Y" of the top-level window with the given title.
geometry() {
  grep -E "^ +0x[0-9a-f]+ \"$1\":" <<<"$tree" | grep -oE '[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+' | head -1
}
main=$(geometry MainForm)
panel=$(geometry LayerForm)
[ "$main" = "345x315+302+231" ] || fail "MainForm is at $main"
# The panel stands left of the main window, tops level: 302 - 150 = 152.
[ "$panel" = "150x474+152+231" ] || fail "LayerForm is at $panel"

# The main window below its 41-pixel tool strip: the only white there is the canvas, which
# must be exactly 200 x 200 and white all over. Looked at again until the first paint is done.
white=""
for _ in $(seq 1 50); do
  import -window root "$shot"
  white=$(convert "$shot" -crop 345x274+302+272 +repage -fill black +opaque white -trim +repage \
    -format '%w %h %[fx:mean]' info:)
  [ "$white" = "200 200 1" ] && break
  sleep 0.2
done
[ "$white" = "200 200 1" ] || fail "the white area below the tool strip is (width height mean) $white"

"$close_window" MainForm || fail "could not ask MainForm to close"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with $status"
echo "ok: MainForm $main, LayerForm $panel, canvas $white, exit $status"
