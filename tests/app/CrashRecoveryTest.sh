#!/usr/bin/env bash
# The real program killed with unsaved changes, on a virtual X display: a layer is added and its
# text typed; once the recovery copy is in "$XDG_STATE_HOME/zeltozelto/", the canvas is looked at
# and the program killed with SIGKILL. Started again, it asks in a message box titled
# "ZeltoZelto" whether to restore the copy; Alt+R restores it, and the canvas must be the one
# before the kill, pixel for pixel. Closing then asks to save the changes; answered Discard, the
# program ends with exit code 0 and leaves no copy behind.
#
# usage: tests/support/on-virtual-display CrashRecoveryTest.sh PROGRAM CLOSE_WINDOW WORK_DIR
# (on a virtual X display of its own, which gives the run its own XDG_STATE_HOME)
set -euo pipefail

program=$1 close_window=$2 work=$3
source "$(dirname "$0")/../support/ProgramWindows.sh"
fresh_home
shot=$work/screen.png
copies=$XDG_STATE_HOME/zeltozelto

# Started without `timeout`, whose own process would take the SIGKILL meant for the program; the
# suite's time limit ends the run, and with it the display the program needs.
"$program" &
pid=$!
wait_for_windows "$pid"
wait_for_canvas
px=152 py=231  # the layer panel's top-left corner

add_layer_typing Hello World

# The copy is written a few seconds after the last change; it holds the whole text once it is.
copy=""
for _ in $(seq 1 100); do
  copy=$(ls "$copies"/*.zelto 2>/dev/null | head -1) || true
  [ -n "$copy" ] && grep -q '"World"' "$copy" && break
  sleep 0.2
done
[ -n "$copy" ] && grep -q '"World"' "$copy" || fail "no recovery copy of the typed text in $copies: $(ls -A "$copies" 2>&1 | tr '\n' ' ')"
grab_canvas "$work/before.png"
ink=$(dark_pixels "$work/before.png")
[ "$ink" -gt 100 ] || fail "the typed text is not drawn ($ink dark pixels)"
echo "ok: the recovery copy $(basename "$copy") holds the typed text"

kill -KILL "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 137 ] || fail "the killed program ended with $status"
[ -f "$copy" ] || fail "the copy went with the killed program"

timeout 120 "$program" &
pid=$!
wait_for_windows "$pid"
wait_for_question "the program offered no recovery copy"
answer_question alt+r

# The windows stand where they stood, and so does the canvas.
wait_for_canvas_like "$work/before.png" "the restored canvas differs from the one before the kill"
echo "ok: the restored canvas equals the one before the kill"

close_program_discarding "$close_window" "$pid"
left=$(ls -A "$copies")
[ -z "$left" ] || fail "the program left behind in $copies: $(tr '\n' ' ' <<<"$left")"
echo "ok: exit 0, no copy left"
