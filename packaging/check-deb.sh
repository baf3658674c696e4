#!/usr/bin/env bash
# Builds the Debian package with CPack into a temporary folder and checks it: its name, its
# declared dependencies (each one known to this Debian), its files, and that the program it
# holds runs from an unpacked copy.
# Usage: check-deb.sh BUILD_DIR VERSION
set -euo pipefail
BUILD=${1:?build folder}
VERSION=${2:?version}
ID=org.example.huebench
OUT=$(mktemp -d /tmp/huebench-deb.XXXXXX)
trap 'rm -rf "$OUT"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$BUILD/CPackConfig.cmake" -B "$OUT" >"$OUT/cpack.log" 2>&1 ||
    { cat "$OUT/cpack.log"; fail "cpack"; }
debs=("$OUT"/huebench_*.deb)
[ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] || fail "no single huebench_*.deb: $(ls "$OUT")"
DEB=${debs[0]}
echo "package: $(basename "$DEB")"

field() { dpkg-deb --field "$DEB" "$1"; }
[ "$(field Package)" = huebench ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$VERSION" ] || fail "Version is '$(field Version)'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture"
depends=$(field Depends)
echo "Depends: $depends"
names=$(tr ',|' '\n\n' <<<"$depends" | sed -E 's/^ *([^ (]+).*/\1/')
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libqt6svg6 libc6 libstdc++6; do
    grep -qxF "$lib" <<<"$names" || fail "Depends lacks $lib"
done
# Every dependency is a package of this Debian (the build machine has them all installed).
for name in $names; do
    dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q "install ok installed" ||
        fail "dependency $name is not a package installed here"
done

dpkg-deb --contents "$DEB" >"$OUT/contents"
for f in usr/bin/huebench usr/share/applications/$ID.desktop usr/share/metainfo/$ID.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/$ID.svg usr/share/man/man1/huebench.1.gz \
    usr/share/huebench/colorchart.cci usr/share/huebench/mycolor.rgb usr/share/huebench/set.hcs \
    usr/share/huebench/colorset.dat; do
    grep -q " \./$f\$" "$OUT/contents" || fail "the package lacks /$f"
done
# Nothing but the program's own files: no build or test leftovers.
if grep -Ev " \./usr/(bin/huebench|share/(huebench|applications|metainfo|icons|man)(/|$)|share/?$|bin/?$)| \./(usr/?)?$" "$OUT/contents"; then
    fail "unexpected files in the package"
fi

dpkg-deb --extract "$DEB" "$OUT/root"
[ "$("$OUT/root/usr/bin/huebench" --version)" = "Hue Bench $VERSION" ] || fail "the packed program"
echo "install.deb: ok"
