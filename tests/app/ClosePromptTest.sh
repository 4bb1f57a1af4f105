#!/usr/bin/env bash
# Closing the real program with unsaved changes, on a virtual X display. A layer is added and its
# text typed. Asked to close, the program asks whether to save the changes: Escape cancels, and
# the program runs on with the change on its canvas. Asked again, Alt+S saves: the document was
# never saved, so the "Save as" dialog opens in the documents folder, where the typed name
# becomes closing.zelto; then the program ends with exit code 0. Started again with that document
# on its command line, the program shows it as it was saved; started with a file that is no
# document, it says so and shows an empty canvas.
#
# usage: tests/support/on-virtual-display ClosePromptTest.sh PROGRAM CLOSE_WINDOW WORK_DIR
# (on a virtual X display of its own, as the suite runs it)
set -euo pipefail

program=$1 close_window=$2 work=$3
source "$(dirname "$0")/../support/ProgramWindows.sh"
fresh_home Documents
shot=$work/screen.png

start_program

# Asks MainForm to close and waits for the question.
ask_to_close() {
  "$close_window" MainForm || fail "could not ask MainForm to close"
  wait_for_question "closing with unsaved changes asked nothing"
}

add_layer_typing Hello World
# The typed text on the canvas, once two looks in a row show the same.
ink=0
grab_canvas "$work/typed.png"
for _ in $(seq 1 50); do
  sleep 0.2
  grab_canvas "$work/again.png"
  ink=$(dark_pixels "$work/again.png")
  [ "$ink" -gt 100 ] && [ "$(differing "$work/typed.png" "$work/again.png")" = 0 ] && break
  mv "$work/again.png" "$work/typed.png"
done
[ "$ink" -gt 100 ] || fail "the typed text is not drawn ($ink dark pixels)"

# Cancel: the question goes, and the program stays with its change.
ask_to_close
answer_question Escape
kill -0 "$pid" 2>/dev/null || fail "the program ended when closing was cancelled"
window_shown MainForm || fail "the main window went when closing was cancelled"
wait_for_canvas_like "$work/typed.png" "after Cancel the canvas differs"
echo "ok: Escape cancelled closing, the change is still there"

# Save: the dialog of a document never saved, a typed name, Enter.
ask_to_close
answer_question alt+s
for _ in $(seq 1 50); do window_shown "Save as" && break; sleep 0.1; done
window_shown "Save as" || fail "Save opened no \"Save as\" dialog"
sleep 0.3
xdotool key ctrl+a
xdotool type --delay 20 "closing"
xdotool key Return
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with $status"
saved=$HOME/Documents/closing.zelto
[ -f "$saved" ] || fail "no document was saved: $(ls -A "$HOME/Documents" | tr '\n' ' ')"
grep -q '"org.zeltozelto.document"' "$saved" || fail "$saved is no document: $(head -c 200 "$saved")"
grep -q '"World"' "$saved" || fail "$saved does not hold the typed text"
echo "ok: Save saved closing.zelto, exit 0"

# Opening from outside: the document given on the command line, as a file manager gives it.
# The canvas stands where it stood, at $cx, $cy.
timeout 120 "$program" "$saved" &
pid=$!
wait_for_windows "$pid"
wait_for_canvas_like "$work/typed.png" "the document opened from the command line shows otherwise"
close_program "$close_window" "$pid"
echo "ok: the document on the command line opened as it was saved"

printf '{"format": "org.zeltozelto.document", "vers' >"$HOME/Documents/cut.zelto"
timeout 120 "$program" "$HOME/Documents/cut.zelto" &
pid=$!
wait_for_question "a document that cannot be opened, on the command line, gave no message"
answer_question Return
wait_for_windows "$pid"
wait_for_canvas
grab_canvas "$work/empty.png"
[ "$(dark_pixels "$work/empty.png")" = 0 ] || fail "the canvas is not empty after a document that cannot be opened"
close_program "$close_window" "$pid"
echo "ok: a document that cannot be opened gave a message and an empty canvas"
