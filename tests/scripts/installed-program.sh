#!/usr/bin/env bash
# `cmake --install` into a temporary DESTDIR and `cpack -G DEB`: the files a desktop needs are
# there and valid, the installed program answers --version without a display, and the package
# lists the same files and depends on Qt.
# Usage: installed-program.sh <build folder>
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
root=$tmp/root
passed=0 failed=0
check() {  # <what> <command…>
  local what=$1; shift
  if "$@" >"$tmp/out" 2>&1; then
    passed=$((passed + 1))
  else
    echo "FAIL $what"; cat "$tmp/out"; failed=$((failed + 1))
  fi
}

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
id=io.github.wykresownik.Wykresownik
files=(usr/bin/wykresownik usr/bin/wykresownik-cli usr/bin/wykresownik-adapter-sim
       usr/share/man/man1/wykresownik.1 usr/share/man/man1/wykresownik-cli.1
       usr/share/man/man1/wykresownik-adapter-sim.1
       usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml
       usr/share/mime/packages/$id.xml usr/share/icons/hicolor/scalable/apps/$id.svg)
for size in 16 22 24 32 48 64 128 256; do files+=("usr/share/icons/hicolor/${size}x$size/apps/$id.png"); done
for f in "${files[@]}"; do check "installed $f" test -s "$root/$f"; done
check "installed exactly these files" \
  diff <(printf '%s\n' "${files[@]}" | sort) <(cd "$root" && find . -type f | sed 's|^\./||' | sort)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
check "--version without a display" \
  test "$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/wykresownik" --version)" = "wykresownik $version"
check "an unknown option: usage on stderr, exit 1" bash -c \
  "'$root/usr/bin/wykresownik' --bogus 2>'$tmp/err' >/dev/null; [ \$? -eq 1 ] &&
   diff '$tmp/err' <(printf 'wykresownik: nieznana opcja \"--bogus\"\nUżycie: wykresownik [PLIK]\nPomoc: wykresownik --help\n')"
check "desktop-file-validate" desktop-file-validate "$root/usr/share/applications/$id.desktop"
check "appstreamcli validate" appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml"
check "metainfo names this release" grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/$id.metainfo.xml"
check "xmllint on the MIME package" xmllint --noout "$root/usr/share/mime/packages/$id.xml"
check "update-mime-database: *.osr is a recording" bash -c \
  "update-mime-database '$root/usr/share/mime' && grep -qx '50:application/x-wykresownik-recording:\*.osr' '$root/usr/share/mime/globs2'"
check "the menu entry opens that type" grep -qx 'MimeType=application/x-wykresownik-recording;' \
  "$root/usr/share/applications/$id.desktop"
check "manual page" bash -c "man -l '$root/usr/share/man/man1/wykresownik.1' 2>/dev/null | grep -q -- '--version'"

(cd "$build" && cpack -G DEB -B "$tmp/package" >"$tmp/cpack.log" 2>&1) || { cat "$tmp/cpack.log"; exit 1; }
deb=$(ls "$tmp"/package/wykresownik_"$version"_*.deb)
dpkg-deb --info "$deb" >"$tmp/info"
dpkg-deb --contents "$deb" >"$tmp/contents"
check "package: name and version" grep -qx " Version: $version" "$tmp/info"
check "package: Depends names Qt" grep -qE '^ Depends: .*libqt6widgets6 ' "$tmp/info"
check "package: Depends names Qt's Polish texts" grep -qE '^ Depends: .*qt6-translations-l10n' "$tmp/info"
for f in "${files[@]}"; do check "package: /$f" grep -q " \./$f\$" "$tmp/contents"; done

echo "installed program and package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
