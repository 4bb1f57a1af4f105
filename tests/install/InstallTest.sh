#!/usr/bin/env bash
# Installs the build into an empty prefix, as `cmake --install` does on any system, and checks
# that every file landed where the desktop looks for it, and that the desktop takes a document for
# the program's type.
#
# usage: InstallTest.sh BUILD_DIR WORK_DIR
set -euo pipefail
build=$1 work=$2
source "$(dirname "$0")/InstalledFiles.sh"

rm -rf "$work"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
check_installed_files "$work/prefix" "$work/mime"
check_thumbnailer "$work/prefix" "$work/thumbnail"
echo "ok: $(expected_files | wc -l) files installed below the prefix, each in its place"
