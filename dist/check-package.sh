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
         share/zorvant/examples/01_first_steps.bas share/zorvant/examples/09_detumbling_in_orbit.lesson \
         share/zorvant/reference/index.html; do
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

# The CI pipelines' commands, on this machine: a class split over three parts and merged gives
# the summary of one grading of the whole class.
ci=$root/share/zorvant/ci
for f in zorvant-grade-part zorvant-merge-summaries github/grade.yml github/grade-matrix.yml \
         gitlab/grade.gitlab-ci.yml gitlab/grade-matrix.gitlab-ci.yml; do
  test -e "$ci/$f" || { echo "missing in the package: /usr/share/zorvant/ci/$f"; exit 1; }
done
class=$work/class
mkdir -p "$class/submissions"
cp -r "$root/share/zorvant/examples/grading/cases" "$class/cases"
cp "$root"/share/zorvant/examples/*.bas "$root/share/zorvant/examples/grading/wrong_sign.bas" \
  "$class/submissions/"
cd "$class"
export ZORVANT_RUN=$root/bin/zorvant-run
for part in 0 1 2; do
  "$ci/zorvant-grade-part" "$part" 3 cases "part-$part" submissions/*.bas > /dev/null
done
"$ci/zorvant-merge-summaries" merged.csv part-0.csv part-1.csv part-2.csv
status=0
"$ZORVANT_RUN" --grade cases --summary whole.csv submissions/*.bas > /dev/null || status=$?
test "$status" -le 1 || { echo "grading the whole class: exit $status"; exit 1; }
cmp merged.csv whole.csv || { diff merged.csv whole.csv; exit 1; }
for part in 0 1 2; do
  test "$(wc -l < "part-$part.csv")" -ge 2 || { echo "part $part graded nothing"; exit 1; }
done
echo "three parts merged equal one grading of $(($(wc -l < whole.csv) - 1)) submissions"
