# Sourced by the tests that run the real program on a virtual X display. The caller defines
# fail MESSAGE.

# Waits until the program PID maps its windows "MainForm" and "LayerForm", for about 20 seconds
# at most, and leaves the window tree in $tree; fails if the program ends first.
wait_for_windows() {
  local pid=$1
  tree=""
  for _ in $(seq 1 100); do
    tree=$(xwininfo -root -tree 2>/dev/null) || tree=""
    if grep -q '"MainForm"' <<<"$tree" && grep -q '"LayerForm"' <<<"$tree"; then return 0; fi
    kill -0 "$pid" 2>/dev/null || fail "the program ended before showing its windows"
    sleep 0.2
  done
}

# The id of the top-level window titled TITLE in $tree.
window_id() {
  grep -oE "^ +0x[0-9a-f]+ \"$1\":" <<<"$tree" | grep -oE '0x[0-9a-f]+'
}

# Asks MainForm to close, as its close box does (CLOSE_WINDOW is tests/app's close_window), and
# fails unless the program PID then ends with exit code 0.
close_program() {
  local close_window=$1 pid=$2 status=0
  "$close_window" MainForm || fail "could not ask MainForm to close"
  wait "$pid" || status=$?
  [ "$status" -eq 0 ] || fail "the program ended with $status"
}
