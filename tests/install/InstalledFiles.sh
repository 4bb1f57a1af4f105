# Sourced by the install and package tests: what the program installs below its prefix, and the
# checks that each file is where the desktop looks for it and says what the others expect.

app_id=org.zeltozelto.ZeltoZelto
document_type=application/x-zeltozelto

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

expected_files() {
  echo bin/ZeltoZelto
  echo lib/zeltozelto/ZeltoZelto-windows.so
  echo "share/applications/$app_id.desktop"
  for size in 16 24 32 48 64 128 256; do
    echo "share/icons/hicolor/${size}x$size/apps/$app_id.png"
    echo "share/icons/hicolor/${size}x$size/mimetypes/${document_type/\//-}.png"
  done
  echo "share/icons/hicolor/scalable/apps/$app_id.svg"
  echo "share/icons/hicolor/scalable/mimetypes/${document_type/\//-}.svg"
  echo "share/metainfo/$app_id.metainfo.xml"
  echo "share/mime/packages/$app_id.xml"
  echo "share/thumbnailers/$app_id.thumbnailer"
}

# The value of KEY in the desktop entry FILE.
desktop_key() {
  sed -n "s/^$2=//p" "$1"
}

# A document as the program writes it, its keys sorted, with FACE as the default font's.
sample_document() {
  cat <<EOF
{
    "canvas": {
        "height": 240,
        "width": 320
    },
    "codePage": "UTF-8",
    "defaultFont": {
        "charset": 0,
        "color": "#000000",
        "face": "$1",
        "pitch": "default",
        "size": 12,
        "styles": [
        ]
    },
    "format": "org.zeltozelto.document",
    "layers": [
    ],
    "selection": [
    ],
    "version": "1.0"
}
EOF
}

# The type that the desktop's MIME database, built in SCRATCH from the system's entries and the
# installed one, gives each file: a document by its extension or, named without one, by its
# format's name; other JSON the type by the extension alone. The query is GIO's, as file managers
# make it: outside a desktop that it knows, `xdg-mime query filetype` runs `file --mime-type`,
# which reads no MIME database.
check_document_type() {
  local prefix=$1 scratch=$2
  local entry=$prefix/share/mime/packages/$app_id.xml
  xmllint --noout "$entry" || fail "the MIME entry is no well-formed XML"
  mkdir -p "$scratch/share/mime/packages" "$scratch/home"
  cp /usr/share/mime/packages/freedesktop.org.xml "$entry" "$scratch/share/mime/packages/"
  local messages
  messages=$(XDG_DATA_DIRS=$scratch/share update-mime-database "$scratch/share/mime" 2>&1) ||
    fail "update-mime-database: $messages"
  [ -z "$messages" ] || fail "update-mime-database warns: $messages"

  sample_document "DejaVu Sans" >"$scratch/sample.zelto"
  cp "$scratch/sample.zelto" "$scratch/sample"
  # The longest face name that a document holds, in characters of 3 bytes, puts the format's name
  # 3.3 KiB into the file.
  sample_document "$(printf '漢%.0s' {1..1024})" >"$scratch/long-face"
  echo '{"name": "other", "format": "json"}' >"$scratch/other.json"
  cp "$scratch/other.json" "$scratch/other"
  cp "$scratch/other.json" "$scratch/other.zelto"
  local file expected type
  while read -r file expected; do
    type=$(XDG_DATA_DIRS=$scratch/share XDG_DATA_HOME=$scratch/home GIO_USE_VFS=local \
      gio info -a standard::content-type "$scratch/$file" | sed -n 's/^ *standard::content-type: //p')
    [ "$type" = "$expected" ] || fail "the desktop takes $file for $type, not $expected"
  done <<EOF
sample.zelto $document_type
sample $document_type
long-face $document_type
other.zelto $document_type
other.json application/json
other text/plain
EOF
}

check_installed_files() {
  local prefix=$1 scratch=$2
  local listed
  listed=$(cd "$prefix" && find . ! -type d | sed 's|^\./||' | sort)
  diff <(expected_files | sort) <(echo "$listed") >&2 || fail "$prefix holds other files than expected (diff above)"

  [ -x "$prefix/bin/ZeltoZelto" ] && file -b "$prefix/bin/ZeltoZelto" | grep -q '^ELF' ||
    fail "bin/ZeltoZelto is no executable program"
  local png size
  for png in "$prefix"/share/icons/hicolor/*x*/*/*.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    [ "$(identify -format '%wx%h' "$png")" = "$size" ] ||
      fail "$(basename "$png") in $size is $(identify -format '%wx%h' "$png")"
  done
  local svg
  for svg in "$prefix"/share/icons/hicolor/scalable/*/*.svg; do
    grep -q '<svg' "$svg" || fail "the scalable $(basename "$svg") is no SVG"
  done

  local desktop=$prefix/share/applications/$app_id.desktop
  local messages
  messages=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $messages"
  [ -z "$messages" ] || fail "desktop-file-validate warns: $messages"
  [ "$(desktop_key "$desktop" Icon)" = "$app_id" ] || fail "the desktop entry's Icon is not $app_id"
  [ "$(desktop_key "$desktop" Exec)" = "ZeltoZelto %f" ] ||
    fail "the desktop entry does not open a file with bin/ZeltoZelto"
  [ "$(desktop_key "$desktop" MimeType)" = "$document_type;" ] || fail "the desktop entry does not open $document_type"

  local thumbnailer=$prefix/share/thumbnailers/$app_id.thumbnailer
  [ "$(head -n 1 "$thumbnailer")" = "[Thumbnailer Entry]" ] || fail "the thumbnailer has no [Thumbnailer Entry]"
  [ "$(desktop_key "$thumbnailer" TryExec)" = ZeltoZelto ] || fail "the thumbnailer does not try bin/ZeltoZelto"
  [ "$(desktop_key "$thumbnailer" Exec)" = "ZeltoZelto --thumbnail %s %i %o" ] ||
    fail "the thumbnailer does not run ZeltoZelto --thumbnail SIZE IN OUT"
  [ "$(desktop_key "$thumbnailer" MimeType)" = "$document_type;" ] || fail "the thumbnailer is not for $document_type"
  check_document_type "$prefix" "$scratch"

  local metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
  messages=$(appstreamcli validate --no-net --strict "$metainfo" 2>&1) || fail "appstreamcli: $messages"
  grep -q "<id>$app_id</id>" "$metainfo" || fail "the metainfo's id is not $app_id"
  grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $app_id.desktop"
  grep -q "<mediatype>$document_type</mediatype>" "$metainfo" || fail "the metainfo does not provide $document_type"
}

# Runs the installed thumbnailer entry's Exec line as a file manager runs it, with %s, %i and %o
# filled in, without a display, and checks that it writes a PNG of at most SIZE pixels a side.
check_thumbnailer() {
  local prefix=$1 scratch=$2 size=128
  mkdir -p "$scratch"
  sample_document "DejaVu Sans" >"$scratch/thumbnail-of.zelto"
  local exec command=()
  exec=$(desktop_key "$prefix/share/thumbnailers/$app_id.thumbnailer" Exec)
  for word in $exec; do
    case "$word" in
      %s) command+=("$size") ;;
      %i) command+=("$scratch/thumbnail-of.zelto") ;;
      %o) command+=("$scratch/thumbnail.png") ;;
      *) command+=("$word") ;;
    esac
  done
  PATH="$prefix/bin:$PATH" env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "${command[@]}" ||
    fail "the thumbnailer's command ${command[*]} failed"
  local found
  found=$(identify -format '%m %w %h' "$scratch/thumbnail.png") || fail "the thumbnailer wrote no picture"
  read -r type width height <<<"$found"
  [ "$type" = PNG ] && [ "$width" -le "$size" ] && [ "$height" -le "$size" ] && [ $((width > height ? width : height)) -eq "$size" ] ||
    fail "the thumbnailer wrote $found, not a PNG fitting $size x $size"
}
