#!/usr/bin/env bash
# Makes the Debian package from the build, as scripts/package does, and checks it as a user's
# system gets it: its dependencies, the files it unpacks, and the unpacked program, which must
# show its windows with the program's icon on a virtual X display and end with exit code 0 when
# the main window is asked to close.
#
# usage: tests/support/on-virtual-display PackageTest.sh BUILD_DIR CLOSE_WINDOW WORK_DIR
# (on a virtual X display of its own, as the suite runs it)
set -euo pipefail

build=$1 close_window=$2 work=$3
source "$(dirname "$0")/InstalledFiles.sh"
source "$(dirname "$0")/../support/ProgramWindows.sh"

rm -rf "$work"
cpack --config "$build/CPackConfig.cmake" -B "$work" >/dev/null
debs=("$work"/zeltozelto_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single zeltozelto_*.deb: ${debs[*]}"
deb=${debs[0]}

# The libraries the binary links, as dpkg-shlibdeps finds them, and the fonts it draws with; no
# development or test package.
depends=$(dpkg-deb -f "$deb" Depends)
names=$(tr ',' '\n' <<<"$depends" | sed -E 's/^ *([^ ]+).*/\1/' | sort | tr '\n' ' ')
expected="fonts-dejavu-core fonts-ipafont-gothic libc6 libgcc-s1 libqt6core6 libqt6gui6 libqt6widgets6 libstdc++6 zlib1g "
[ "$names" = "$expected" ] || fail "the package depends on: $depends"

dpkg-deb -x "$deb" "$work/root"
check_installed_files "$work/root/usr" "$work/mime"
check_thumbnailer "$work/root/usr" "$work/thumbnail"
program=$work/root/usr/bin/ZeltoZelto
file -b "$program" | grep -q ', stripped' || fail "the packaged program keeps its symbols"

timeout 120 "$program" &
pid=$!
wait_for_windows "$pid"

# Each window carries the icon built into the program, and the window class that the desktop
# entry names, by which an X11 desktop finds the entry (and the icon) for a running window.
wm_class=$(desktop_key "$work/root/usr/share/applications/$app_id.desktop" StartupWMClass)
for title in MainForm LayerForm; do
  window=$(window_id "$title") || fail "the unpacked program shows no $title"
  icon=$(xprop -id "$window" _NET_WM_ICON)
  for size in 16 32 48; do
    grep -q "Icon ($size x $size)" <<<"$icon" || fail "$title has no $size-pixel icon"
  done
  xprop -id "$window" WM_CLASS | grep -q "\"$wm_class\"\$" || fail "$title's class is not $wm_class"
done

close_program "$close_window" "$pid"
echo "ok: $(basename "$deb"), $(stat -c %s "$deb") bytes, Depends: $depends"
