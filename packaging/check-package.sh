#!/bin/sh
# Checks the Debian package that `make package` built, as a user and as Debian would see it:
# its control fields and contents, the desktop file, the AppStream metadata, the MIME type,
# lintian, the manual pages, and the unpacked programs themselves.
#   packaging/check-package.sh [BUILD_DIR]
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
id=io.github.tarvel.Tarvel
version=$(sed -n 's/^project(Tarvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=$build/tarvel_${version}_amd64.deb
passes=0
failures=0
pass() { echo "ok    $1"; passes=$((passes + 1)); }
fail() { echo "FAIL  $1"; failures=$((failures + 1)); }
check() { # check NAME COMMAND...: passes when the command succeeds
    name=$1; shift
    if "$@"; then pass "$name"; else fail "$name"; fi
}

[ -n "$version" ] || { echo "check-package: no project version in CMakeLists.txt" >&2; exit 1; }
[ -f "$deb" ] || { echo "check-package: $deb is missing (make package)" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
root=$tmp/root
dpkg-deb -x "$deb" "$root"

echo "== $deb"
dpkg-deb -I "$deb" | sed -n '/^ Package:/,$p'
dpkg-deb -c "$deb" | awk '{print $1, $6}'

echo "== control fields"
field() { dpkg-deb -f "$deb" "$1"; }
check "Version is the project's, $version" test "$(field Version)" = "$version"
check "Section science" test "$(field Section)" = science
check "Maintainer set" test -n "$(field Maintainer)"
check "Depends has the font" sh -c "dpkg-deb -f '$deb' Depends | grep -q fonts-wqy-zenhei"
check "Depends has Qt from dpkg-shlibdeps" sh -c "dpkg-deb -f '$deb' Depends | grep -q libqt6widgets6"
check "long description" test "$(field Description | wc -l)" -gt 3

echo "== contents"
check "programs: /usr/bin/tarvel and tarvel-calc only" \
    test "$(ls "$root/usr/bin" | tr '\n' ' ')" = "tarvel tarvel-calc "
check "nothing outside /usr" test "$(ls "$root")" = usr
for size in 16 32 48 128 256; do
    check "icon ${size}x$size" sh -c "file '$root/usr/share/icons/hicolor/${size}x$size/apps/$id.png' \
        | grep -q '$size x $size'"
done
check "scalable icon" test -s "$root/usr/share/icons/hicolor/scalable/apps/$id.svg"
check "copyright" test -s "$root/usr/share/doc/tarvel/copyright"
check "changelog's version is $version" test \
    "$(dpkg-parsechangelog -l "$root/usr/share/doc/tarvel/changelog.gz" -S Version)" = "$version"
check "metainfo's newest release is $version" sh -c "grep -o '<release version=\"[^\"]*\"' \
    '$root/usr/share/metainfo/$id.metainfo.xml' | head -1 | grep -q '\"$version\"'"

echo "== desktop file"
out=$(desktop-file-validate "$root/usr/share/applications/$id.desktop" 2>&1) || true
[ -z "$out" ] || echo "$out"
check "desktop-file-validate clean" test -z "$out"

echo "== AppStream"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" >"$tmp/as" 2>&1 || true
cat "$tmp/as"
check "appstreamcli validate: no errors" sh -c "! grep -q '^E:' '$tmp/as'"

echo "== MIME type"
mkdir -p "$tmp/mime/packages"
cp "$root/usr/share/mime/packages/$id.xml" "$tmp/mime/packages/"
check "update-mime-database reads it" sh -c "update-mime-database '$tmp/mime' 2>'$tmp/mime.err' \
    && ! grep -qi error '$tmp/mime.err'"
check "*.tarvel glob" grep -q 'application/x-tarvel-project:\*\.tarvel' "$tmp/mime/globs"
check "magic on the format tag" grep -q 'tarvel-project' "$tmp/mime/magic"

echo "== lintian"
lintian --fail-on error --info "$deb" >"$tmp/lintian" 2>&1 && status=0 || status=$?
cat "$tmp/lintian"
check "lintian: no errors" test "$status" -eq 0

echo "== manual pages"
for page in tarvel tarvel-calc; do
    man --warnings -E UTF-8 -l "$root/usr/share/man/man1/$page.1.gz" >"$tmp/$page.txt" \
        2>"$tmp/$page.err" || true
    cat "$tmp/$page.err"
    check "man -l $page: rendered without warnings" \
        sh -c "[ -s '$tmp/$page.txt' ] && [ ! -s '$tmp/$page.err' ]"
done

echo "== the unpacked programs"
calc=$root/usr/bin/tarvel-calc
check "tarvel-calc --version says $version" test "$("$calc" --version)" = "tarvel-calc $version"
printf 'xt\t904.\nqmaxt\t3.20\ntt\t112.00\nfmst\t567.49\nmmst\t383.64\nfqt\t1555.01\nmqt\t610.46\nct\t393.\nc2t\t676.\nh1t\t987.52\nh2t\t994.1\nvt\t622.\n' >"$tmp/expected"
"$calc" 1000 1000 1520 1620 18 >"$tmp/calc" 2>&1 || true
check "tarvel-calc computes the default case" cmp -s "$tmp/expected" "$tmp/calc"
check "tarvel-calc loads no Qt" sh -c "! objdump -p '$calc' | grep NEEDED | grep -q Qt"
check "report helper in /usr/libexec/tarvel" test -x "$root/usr/libexec/tarvel/tarvel-calc-report"
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$tmp "$calc" --report "$tmp/r.pdf" 1000 1000 1520 1620 18 \
    >"$tmp/report.out" 2>&1 || cat "$tmp/report.out"
check "tarvel-calc --report writes a PDF through the helper" \
    sh -c "head -c 5 '$tmp/r.pdf' 2>/dev/null | grep -q '%PDF-'"
check "desktop action 设计验算 runs tarvel --design" sh -c \
    "grep -q '^Exec=tarvel --design' '$root/usr/share/applications/$id.desktop'"
# The window starts (and is still running when stopped) with the system's Qt.
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$tmp timeout 5 "$root/usr/bin/tarvel" \
    >"$tmp/window" 2>&1 && status=0 || status=$?
cat "$tmp/window"
check "tarvel starts (offscreen)" test "$status" -eq 124

echo "package-check: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
