#!/usr/bin/env bash
# Builds the Debian package from a build folder, unpacks it into a scratch root with dpkg -x and
# checks it as a user's system would meet it: exactly the expected files, PNG icons of their
# sizes, Poppler needed by the PDF module only, the installed vorlane answering --version and
# --help without a display, a valid desktop entry and metainfo, no lintian errors, and
# `cmake --install` with DESTDIR writing the same files.
# Usage: check-package.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli lintian file; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/packages.txt)" >&2; exit 1; }
done

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; exit 1; }
debs=("$scratch"/out/vorlane_*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || { echo "FAIL: no single .deb built" >&2; exit 1; }
deb=${debs[0]}
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
root=$scratch/root
dpkg -x "$deb" "$root"

bundle=usr/lib/vorlane/Vorlane.app/Contents
expected="usr/bin/vorlane -> ../lib/vorlane/Vorlane.app/Contents/MacOS/Vorlane
usr/bin/vorlane-recents
$bundle/Info.plist
$bundle/Library/LoginItems/VorlaneHelper.app/Contents/Info.plist
$bundle/Library/LoginItems/VorlaneHelper.app/Contents/MacOS/VorlaneHelper
$bundle/MacOS/Vorlane
$bundle/PlugIns/libvorlane_pdf.so
$bundle/Resources/Vorlane.svg
$bundle/Resources/translations/vorlane_de.qm
usr/share/applications/com.ostrel.Vorlane.desktop
usr/share/doc/vorlane/changelog.Debian.gz
usr/share/doc/vorlane/copyright
$(for size in 16 22 24 32 48 64 128 256 512; do
    echo "usr/share/icons/hicolor/${size}x${size}/apps/com.ostrel.Vorlane.png"
done)
usr/share/icons/hicolor/scalable/apps/com.ostrel.Vorlane.svg
usr/share/icons/hicolor/symbolic/apps/com.ostrel.Vorlane-symbolic.svg
usr/share/man/man1/vorlane-recents.1.gz
usr/share/man/man1/vorlane.1.gz
usr/share/metainfo/com.ostrel.Vorlane.metainfo.xml"
files_in() { (cd "$1" && find . ! -type d \( -type l -printf '%P -> %l\n' -o -printf '%P\n' \) | sort); }
actual=$(files_in "$root")
[[ $actual == "$(sort <<<"$expected")" ]] ||
    fail "the package's files differ from the expected ones:$(diff <(sort <<<"$expected") <(echo "$actual") || true)"

for size in 16 22 24 32 48 64 128 256 512; do
    file "$root/usr/share/icons/hicolor/${size}x${size}/apps/com.ostrel.Vorlane.png" |
        grep -q "PNG image data, $size x $size," || fail "the ${size}x${size} icon is not a PNG of that size"
done

# The installed command, through its link, with no display to connect to.
version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/vorlane" --version) || fail "vorlane --version failed"
[[ $version =~ ^Vorlane\ [0-9]+\.[0-9]+\.[0-9]+\ \([0-9]+\)$ ]] || fail "vorlane --version printed '$version'"
help=$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/vorlane" --help) || fail "vorlane --help failed"
for option in --toggle --center-window --reset-window-size --version --help; do
    grep -q -- "$option" <<<"$help" || fail "vorlane --help does not list $option"
done
"$root/usr/bin/vorlane-recents" --help >/dev/null || fail "vorlane-recents --help failed"

# Poppler is loaded with the PDF module when a PDF is first drawn, not with the program; the
# package still depends on it.
objdump -p "$root/$bundle/MacOS/Vorlane" | grep -q 'NEEDED.*poppler' &&
    fail "the program itself needs Poppler"
objdump -p "$root/$bundle/PlugIns/libvorlane_pdf.so" | grep -q 'NEEDED.*libpoppler-qt6' ||
    fail "the PDF module does not need Poppler"
dpkg-deb -f "$deb" Depends | grep -q 'libpoppler-qt6' || fail "the package does not depend on Poppler"

entry=$root/usr/share/applications/com.ostrel.Vorlane.desktop
desktop-file-validate "$entry" || fail "the desktop entry is not valid"
execs=$(grep -E '^(Try)?Exec=' "$entry" | sed -E 's/^(Try)?Exec=//; s/ .*//' | sort -u)
[[ $execs == "/$bundle/MacOS/Vorlane" ]] || fail "the desktop entry starts '$execs'"
for action in --toggle --center-window --reset-window-size; do
    grep -q "^Exec=.* $action\$" "$entry" || fail "the desktop entry has no action for $action"
done
appstreamcli validate --no-net "$root/usr/share/metainfo/com.ostrel.Vorlane.metainfo.xml" ||
    fail "the metainfo is not valid"
grep -q "<release version=\"$(cut -d' ' -f2 <<<"$version")\"" \
    "$root/usr/share/metainfo/com.ostrel.Vorlane.metainfo.xml" || fail "the metainfo names another version"
lintian --fail-on error "$deb" 2>/dev/null || fail "lintian found errors"

# An installation in a staging folder writes the package's files and nothing else.
DESTDIR=$scratch/staged cmake --install "$build" --prefix /usr >/dev/null || fail "cmake --install failed"
[[ $(files_in "$scratch/staged") == "$actual" ]] || fail "cmake --install writes other files than the package"

((failures == 0)) || exit 1
echo "package checked: $(wc -l <<<"$actual") files"
