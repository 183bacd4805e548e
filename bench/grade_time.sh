#!/usr/bin/env bash
# Wall time of grading 100 programs against the two sample cases with -j 2, median of runs:
# 90 copies of the detumbling lesson and 10 of the wrong submission.
set -euo pipefail
runner=${1:-build/bin/zorvant-run}
runs=${RUNS:-5}
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for i in $(seq -w 1 100); do
  if [ $((10#$i % 10)) = 0 ]; then source=grading/wrong_sign.bas; else source=05_detumbling.bas; fi
  cp "$root/samples/$source" "$work/s$i.bas"
done

summary=$("$runner" --grade "$root/samples/grading/cases" -j 2 "$work"/*.bas | tail -n 1) || true
if [ "$summary" != "190 passed, 10 failed" ]; then
  echo "grade_time: unexpected summary '$summary'" >&2
  exit 1
fi
times=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  "$runner" --grade "$root/samples/grading/cases" -j 2 "$work"/*.bas > /dev/null || true
  end=$(date +%s%N)
  times+=($(( (end - start) / 1000000 )))
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(echo "$sorted" | sed -n "$(( (runs + 1) / 2 ))p")
echo "zorvant-run --grade, 100 programs x 2 cases, -j 2: median ${median} ms of ${runs} runs ($(echo $sorted | tr '\n' ' ')ms)"
