#!/usr/bin/env bash
# Builds the Debian package from a build tree, unpacks it into a temporary folder and runs
# the unpacked runner: its version, and a lesson program from the package's examples.
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/out" > "$work/cpack.log" 2>&1) || {
  cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/zorvant_"$version"_*.deb)
echo "package: $(basename "$deb")"
dpkg-deb --field "$deb" Package Version Section Maintainer Depends
test "$(dpkg-deb --field "$deb" Package)" = zorvant
test "$(dpkg-deb --field "$deb" Version)" = "$version"
dpkg-deb --field "$deb" Depends | grep -q 'libc6'

dpkg-deb -x "$deb" "$work/root"
root=$work/root/usr
for f in bin/zorvant bin/zorvant-run share/applications/zorvant.desktop \
         share/icons/hicolor/scalable/apps/zorvant.svg \
         share/metainfo/org.zorvant.Editor.metainfo.xml share/mime/packages/zorvant.xml \
         share/man/man1/zorvant.1 share/man/man1/zorvant-run.1 \
         share/zorvant/examples/01_first_steps.bas share/zorvant/reference/index.html; do
  test -e "$root/$f" || { echo "missing in the package: /usr/$f"; exit 1; }
done

got=$("$root/bin/zorvant-run" --version)
test "$got" = "zorvant-run $version" || { echo "version: $got"; exit 1; }
got=$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/bin/zorvant" --version)
test "$got" = "zorvant $version" || { echo "version: $got"; exit 1; }
"$root/bin/zorvant-run" --no-wait --max-steps 200000 \
  "$root/share/zorvant/examples/01_first_steps.bas" > "$work/out.txt"
grep -q . "$work/out.txt"
if grep -q '^ERROR' "$work/out.txt"; then cat "$work/out.txt"; exit 1; fi
echo "the unpacked runner ran $(wc -l < "$work/out.txt") lines of the first lesson"
