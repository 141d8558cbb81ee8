#!/bin/sh
# Installs the build tree under a temporary prefix and checks what a desktop
# needs: both programs run from there, the desktop entry validates, the
# document types register with shared-mime-info, every document extension of
# the launch table has its type, and the icon renders.
# Usage: check_install.sh BUILD_DIR SOURCE_DIR
set -eu
build=$1
src=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" > /dev/null
for f in bin/quorvex-batch share/applications/quorvex.desktop share/mime/packages/quorvex.xml \
         share/icons/hicolor/scalable/apps/quorvex.svg share/icons/hicolor/48x48/apps/quorvex.png \
         share/icons/hicolor/256x256/apps/quorvex.png; do
  [ -s "$prefix/$f" ] || fail "$f was not installed"
done
if [ -f "$build/src/quorvex" ]; then
  [ -x "$prefix/bin/quorvex" ] || fail "bin/quorvex was not installed"
fi

"$prefix/bin/quorvex-batch" render --tool srf --example hilbert --generation 3 --size 40x30 -o "$prefix/t.png" 2> /dev/null ||
  fail "the installed quorvex-batch does not render"
rsvg-convert -o "$prefix/icon.png" "$prefix/share/icons/hicolor/scalable/apps/quorvex.svg" ||
  fail "the SVG icon does not render"

desktop-file-validate "$prefix/share/applications/quorvex.desktop" || fail "the desktop entry is not valid"
xmllint --noout "$prefix/share/mime/packages/quorvex.xml" || fail "the MIME definitions are not well-formed"
update-mime-database "$prefix/share/mime" > /dev/null 2>&1 || fail "update-mime-database refused the definitions"

# Every document extension of the launch table (the dimension window opens
# bitmaps, which have their own type) has a type, a glob and a place in the
# desktop entry.
exts=$(grep -o '"\.[a-z]*"' "$src/src/registry/launch_table.h" | tr -d '".' | grep -v '^bmp$')
[ "$(echo "$exts" | wc -l)" -eq 12 ] || fail "expected 12 document extensions, found: $exts"
for e in $exts; do
  grep -q "^application/x-quorvex-$e:\*\.$e" "$prefix/share/mime/globs" || fail "no glob for .$e"
  grep -q "application/x-quorvex-$e;" "$prefix/share/applications/quorvex.desktop" || fail ".$e missing from MimeType"
done
echo "install tree OK under a temporary prefix"
