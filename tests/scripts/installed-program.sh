#!/usr/bin/env bash
# `cmake --install` into a temporary DESTDIR and `cpack -G DEB`: the files a desktop needs are
# there and valid, the installed program answers without a display, the package holds the same
# files and depends on Qt, and lintian finds no error or warning in it.
# Usage: installed-program.sh <build folder>
set -uo pipefail
build=$1 tmp=$(mktemp -d) passed=0 failed=0
trap 'rm -rf "$tmp"' EXIT
check() {  # <command…>, run by bash
  if bash -c "$1" >"$tmp/out" 2>&1; then passed=$((passed + 1)); else echo "FAIL $1"; cat "$tmp/out"; failed=$((failed + 1)); fi
}
DESTDIR=$tmp/root cmake --install "$build" --prefix /usr >/dev/null || exit 1
(cd "$build" && cpack -G DEB -B "$tmp/deb" >"$tmp/cpack.log" 2>&1) || { cat "$tmp/cpack.log"; exit 1; }
r=$tmp/root/usr id=io.github.wykresownik.Wykresownik
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
files=(bin/wykresownik bin/wykresownik-cli bin/wykresownik-adapter-sim share/man/man1/wykresownik.1.gz
       share/man/man1/wykresownik-cli.1.gz share/man/man1/wykresownik-adapter-sim.1.gz
       share/doc/wykresownik/copyright share/doc/wykresownik/changelog.gz
       share/applications/$id.desktop share/metainfo/$id.metainfo.xml share/mime/packages/$id.xml
       share/icons/hicolor/scalable/apps/$id.svg)
for size in 16 22 24 32 48 64 128 256; do files+=("share/icons/hicolor/${size}x$size/apps/$id.png"); done
dpkg-deb --info "$tmp"/deb/wykresownik_"${version}"_*.deb >"$tmp/info"
dpkg-deb --contents "$tmp"/deb/wykresownik_"${version}"_*.deb >"$tmp/contents"
for f in "${files[@]}"; do check "test -s $r/$f && grep -q ' \./usr/$f\$' $tmp/contents"; done
check "diff <(printf '%s\n' ${files[*]} | sort) <(cd $r && find . -type f | sed 's|^\./||' | sort)"
check "test \"\$(env -u DISPLAY -u QT_QPA_PLATFORM $r/bin/wykresownik --version)\" = 'wykresownik $version'"
check "$r/bin/wykresownik --bogus 2>$tmp/err; [ \$? -eq 1 ] && diff $tmp/err <(printf 'wykresownik: nieznana opcja \"--bogus\"\nUżycie: wykresownik [PLIK]\nPomoc: wykresownik --help\n')"
check "desktop-file-validate $r/share/applications/$id.desktop"
check "grep -qx 'MimeType=application/x-wykresownik-recording;' $r/share/applications/$id.desktop"
check "appstreamcli validate --no-net $r/share/metainfo/$id.metainfo.xml"
check "grep -q '<release version=\"$version\"' $r/share/metainfo/$id.metainfo.xml"
check "xmllint --noout $r/share/mime/packages/$id.xml && update-mime-database $r/share/mime &&
       grep -qx '50:application/x-wykresownik-recording:\*.osr' $r/share/mime/globs2"
check "man -l $r/share/man/man1/wykresownik.1.gz | grep -q -- --version"
check "grep -qx ' Version: $version' $tmp/info && grep -qE '^ Depends: .*libqt6widgets6 .*' $tmp/info &&
       grep -qE '^ Depends: .*qt6-translations-l10n' $tmp/info"
check "lintian --pedantic --fail-on error,warning $tmp/deb/wykresownik_${version}_*.deb"
echo "installed program and package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
