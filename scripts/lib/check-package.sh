#!/usr/bin/env bash
# Checks the Debian package of Vorlanto:
#   check-package.sh FILE.deb            the package scripts/package made
#   check-package.sh --build BUILD_DIR   packs that build tree first (the ctest "package" test)
# The file list, lintian without errors, the AppStream data and the desktop entry, and the
# unpacked programs run from a folder of their own: the tool creates a directory with example
# data, the program starts there on the offscreen platform and shows its window.
set -euo pipefail

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

if [ "${1:-}" = "--build" ]; then
    [ -n "${2:-}" ] || { echo "Aufruf: check-package.sh --build BUILD_DIR" >&2; exit 2; }
    (cd "$2" && cpack -G DEB -B "$work/cpack" >"$work/cpack.log" 2>&1) ||
        { cat "$work/cpack.log" >&2; echo "cpack failed" >&2; exit 1; }
    deb="$(find "$work/cpack" -maxdepth 1 -name 'vorlanto_*.deb' -print -quit)"
else
    deb="${1:-}"
fi
if [ -z "$deb" ] || [ ! -f "$deb" ]; then
    echo "No package to check: '${deb}'" >&2
    exit 1
fi

failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

# The name carries the version the programs report.
name="$(basename "$deb")"
[[ "$name" =~ ^vorlanto_[0-9][0-9.]*_amd64\.deb$ ]] || fail "package name $name"

# The file list.
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/files"
expected=(/usr/bin/vorlanto /usr/bin/vorlanto-tool
    /usr/share/applications/de.vorlanto.Vorlanto.desktop
    /usr/share/metainfo/de.vorlanto.Vorlanto.metainfo.xml
    /usr/share/icons/hicolor/scalable/apps/vorlanto.svg
    /usr/share/man/man1/vorlanto.1.gz /usr/share/man/man1/vorlanto-tool.1.gz
    /usr/share/doc/vorlanto/copyright /usr/share/doc/vorlanto/changelog.gz
    /usr/share/vorlanto/help/index.html /usr/share/vorlanto/help/help.css
    /usr/share/vorlanto/pictures/bgr1024.jpg /usr/share/vorlanto/pictures/morvo.jpg
    /usr/share/vorlanto/pictures/tshirt.jpg)
for size in 16 24 32 48 64 128 256; do
    expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/vorlanto.png")
done
for path in "${expected[@]}"; do
    grep -qx "$path" "$work/files" || fail "missing in the package: $path"
done
# Nothing outside /usr, nothing of the build tree.
if grep -v '^/usr\(/\|$\)' "$work/files" | grep -qv '^/$'; then
    fail "files outside /usr: $(grep -v '^/usr\(/\|$\)' "$work/files" | grep -v '^/$' | tr '\n' ' ')"
fi

# The dependencies were computed: the libraries the programs link are named.
depends="$(dpkg-deb -f "$deb" Depends)"
for library in libqt6widgets6 libsqlite3 libpq5 fonts-liberation libqt6svg6; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done

# lintian: no errors (warnings are printed for reading).
if ! lintian --fail-on error "$deb" >"$work/lintian" 2>&1; then
    cat "$work/lintian" >&2
    fail "lintian reports errors"
else
    cat "$work/lintian"
fi

# Unpacked into a folder of its own, as an installed package would be.
root="$work/root"
dpkg -x "$deb" "$root"

appstreamcli validate --no-net "$root/usr/share/metainfo/de.vorlanto.Vorlanto.metainfo.xml" ||
    fail "appstreamcli validate"
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$root/usr/share/applications/de.vorlanto.Vorlanto.desktop" ||
        fail "desktop-file-validate"
fi
for size in 16 24 32 48 64 128 256; do
    file "$root/usr/share/icons/hicolor/${size}x${size}/apps/vorlanto.png" |
        grep -q "PNG image data, $size x $size" || fail "icon of $size px"
done

# Both programs report the package's version.
version="$(dpkg-deb -f "$deb" Version)"
for program in vorlanto vorlanto-tool; do
    said="$("$root/usr/bin/$program" --version 2>&1)" || fail "$program --version failed"
    [ "$said" = "vorlanto $version" ] || fail "$program --version says '$said', not 'vorlanto $version'"
done

# The programs run from there: a directory with example data, and the program's window on it.
export HOME="$work/home" QT_QPA_PLATFORM=offscreen XDG_CACHE_HOME="$work/cache"
mkdir -p "$HOME"
"$root/usr/bin/vorlanto-tool" new "$work/band" --demo >/dev/null || fail "vorlanto-tool new --demo"
# The new directory got its pictures from the unpacked share/vorlanto.
for picture in bgr1024.jpg morvo.jpg tshirt.jpg; do
    cmp -s "$root/usr/share/vorlanto/pictures/$picture" "$work/band/$picture" ||
        fail "the new directory lacks $picture"
done
shown="$(VORLANTO_EXIT_WHEN_SHOWN=1 timeout 90 "$root/usr/bin/vorlanto" \
    --program-directory "$work/band" 2>"$work/start.log")" || true
if [ "$shown" != "shown" ]; then
    cat "$work/start.log" >&2
    fail "the unpacked vorlanto did not show its window"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) of $name failed" >&2
    exit 1
fi
echo "Package $name: all checks passed"
