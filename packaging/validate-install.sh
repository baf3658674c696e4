#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR under /usr and checks what a desktop reads: the
# desktop entry and the AppStream metainfo pass their validators, the icon, the man page and
# the factory data are in place, and the installed program runs from there.
# Usage: validate-install.sh BUILD_DIR RENDER_ICON VERSION
set -euo pipefail
BUILD=${1:?build folder}
RENDER_ICON=${2:?icon renderer}
VERSION=${3:?version}
ID=org.example.huebench
DEST=$(mktemp -d /tmp/huebench-install.XXXXXX)
trap 'rm -rf "$DEST"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$DEST" cmake --install "$BUILD" --prefix /usr >"$DEST.log" 2>&1 ||
    { cat "$DEST.log"; rm -f "$DEST.log"; fail "cmake --install"; }
rm -f "$DEST.log"
ROOT="$DEST/usr"

for f in bin/huebench share/applications/$ID.desktop share/metainfo/$ID.metainfo.xml \
    share/icons/hicolor/scalable/apps/$ID.svg share/man/man1/huebench.1; do
    [ -f "$ROOT/$f" ] || fail "$f is not installed"
done
[ -x "$ROOT/bin/huebench" ] || fail "bin/huebench is not executable"

# Every factory file, byte for byte.
SOURCE=$(cd "$(dirname "$0")/.." && pwd)
diff -r "$SOURCE/data" "$ROOT/share/huebench" || fail "share/huebench differs from data/"

desktop-file-validate "$ROOT/share/applications/$ID.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$ROOT/share/metainfo/$ID.metainfo.xml" ||
    fail "appstreamcli validate"
grep -qx "Icon=$ID" "$ROOT/share/applications/$ID.desktop" || fail "the entry names another icon"
grep -q "<launchable type=\"desktop-id\">$ID.desktop</launchable>" \
    "$ROOT/share/metainfo/$ID.metainfo.xml" || fail "the metainfo launches another entry"

# The icon is an SVG document that renders.
head -c 200 "$ROOT/share/icons/hicolor/scalable/apps/$ID.svg" | grep -q "<svg" || fail "icon: not SVG"
QT_QPA_PLATFORM=offscreen "$RENDER_ICON" "$ROOT/share/icons/hicolor/scalable/apps/$ID.svg" 48 ||
    fail "the icon does not render"

# The man page formats without a warning and documents every option.
warnings=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z "$ROOT/share/man/man1/huebench.1" 2>&1)
[ -z "$warnings" ] || fail "man page warnings: $warnings"
page=$(LC_ALL=C.UTF-8 groff -man -Tascii -P-cbou "$ROOT/share/man/man1/huebench.1" 2>/dev/null)
for option in --data-dir --print-data-dir --version --help HUEBENCH_DATA_DIR; do
    grep -q -- "$option" <<<"$page" || fail "the man page lacks $option"
done

# The installed program answers without a display and finds its place.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
version=$("$ROOT/bin/huebench" --version) || fail "--version failed"
[ "$version" = "Hue Bench $VERSION" ] || fail "--version printed '$version'"
"$ROOT/bin/huebench" --help | grep -q -- "--data-dir DIR" || fail "--help lacks --data-dir"
HOME="$DEST/home" XDG_DATA_HOME="" HUEBENCH_DATA_DIR="" \
    "$ROOT/bin/huebench" --print-data-dir >"$DEST/dir" || fail "--print-data-dir failed"
[ "$(cat "$DEST/dir")" = "$DEST/home/.local/share/huebench/huebench" ] ||
    fail "--print-data-dir printed '$(cat "$DEST/dir")'"
[ ! -e "$DEST/home/.local/share/huebench" ] || fail "--print-data-dir created the data folder"
status=0
"$ROOT/bin/huebench" --no-such-option 2>"$DEST/err" >/dev/null </dev/null || status=$?
[ "$status" = 2 ] || fail "an unknown option exits with $status, not 2"
grep -q "unknown option '--no-such-option'" "$DEST/err" || fail "unclear error: $(cat "$DEST/err")"
echo "install.validate: ok"
