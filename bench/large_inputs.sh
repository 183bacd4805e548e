#!/usr/bin/env bash
# Peak memory (maximum resident set) and wall time of the runner on the largest inputs it takes:
# 16 MiB of empty lines as a program, as a scenario, and as the expect file of four cases
# graded at once, once against a program that fails at the first line and once against one
# that prints all of those lines. Figures, not a pass or fail.
set -euo pipefail
runner=${1:-build/bin/zorvant-run}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
head -c 16777216 /dev/zero | tr '\0' '\n' > "$work/blank.bas"
printf 'PRINT 1\n' > "$work/one.bas"
printf 'FOR I=1 TO 16777216\nPRINT ""\nNEXT I\n' > "$work/all.bas"
for c in 1 2 3 4; do
  mkdir -p "$work/cases/c$c"
  ln "$work/blank.bas" "$work/cases/c$c/expect"
  echo "--max-steps 40000000" > "$work/cases/c$c/args"
done

figure() {
  local what=$1
  shift
  /usr/bin/time -o "$work/time" -f '%M %e' "$runner" "$@" > /dev/null 2>&1 || true
  local stats
  stats=$(tail -n 1 "$work/time")
  printf 'zorvant-run, %s: max RSS %d MB, %s s\n' "$what" "$(( ${stats% *} / 1024 ))" "${stats#* }"
}
figure "16 MiB of empty lines as the program" --no-wait "$work/blank.bas"
figure "16 MiB of empty lines as the scenario" --no-wait --scenario "$work/blank.bas" "$work/one.bas"
figure "4 cases of 16 MiB expect, a program failing at once" --grade "$work/cases" -j 2 "$work/one.bas"
figure "4 cases of 16 MiB expect, a program printing them all" --grade "$work/cases" -j 2 "$work/all.bas"
