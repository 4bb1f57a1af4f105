# Sourced by the install and package tests: what the program installs below its prefix, and the
# checks that each file is where the desktop looks for it and says what the others expect.

app_id=org.zeltozelto.ZeltoZelto

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

expected_files() {
  echo bin/ZeltoZelto
  echo "share/applications/$app_id.desktop"
  for size in 16 24 32 48 64 128 256; do
    echo "share/icons/hicolor/${size}x$size/apps/$app_id.png"
  done
  echo "share/icons/hicolor/scalable/apps/$app_id.svg"
  echo "share/metainfo/$app_id.metainfo.xml"
}

# The value of KEY in the desktop entry FILE.
desktop_key() {
  sed -n "s/^$2=//p" "$1"
}

check_installed_files() {
  local prefix=$1
  local listed
  listed=$(cd "$prefix" && find . ! -type d | sed 's|^\./||' | sort)
  diff <(expected_files | sort) <(echo "$listed") >&2 || fail "$prefix holds other files than expected (diff above)"

  [ -x "$prefix/bin/ZeltoZelto" ] && file -b "$prefix/bin/ZeltoZelto" | grep -q '^ELF' ||
    fail "bin/ZeltoZelto is no executable program"
  local png size
  for png in "$prefix"/share/icons/hicolor/*x*/apps/*.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    [ "$(identify -format '%wx%h' "$png")" = "$size" ] || fail "the icon in $size is $(identify -format '%wx%h' "$png")"
  done
  grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/$app_id.svg" || fail "the scalable icon is no SVG"

  local desktop=$prefix/share/applications/$app_id.desktop
  local messages
  messages=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $messages"
  [ -z "$messages" ] || fail "desktop-file-validate warns: $messages"
  [ "$(desktop_key "$desktop" Icon)" = "$app_id" ] || fail "the desktop entry's Icon is not $app_id"
  [ "$(desktop_key "$desktop" Exec)" = ZeltoZelto ] || fail "the desktop entry does not start bin/ZeltoZelto"

  local metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
  messages=$(appstreamcli validate --no-net --strict "$metainfo" 2>&1) || fail "appstreamcli: $messages"
  grep -q "<id>$app_id</id>" "$metainfo" || fail "the metainfo's id is not $app_id"
  grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $app_id.desktop"
}
