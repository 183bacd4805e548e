#!/usr/bin/env bash
# Wall time of `zorvant-run --no-wait` on the one-million-pass loop, median of several runs.
set -euo pipefail
runner=${1:-build/bin/zorvant-run}
runs=${RUNS:-7}
program=$(mktemp --suffix=.bas)
trap 'rm -f "$program"' EXIT
printf 'FOR I=1 TO 1000000\nA=A+I%%7\nNEXT I\nPRINT A\n' > "$program"

out=$("$runner" --no-wait "$program" 2>/dev/null)
if [ "$out" != "2999998" ]; then
  echo "runner_time: unexpected output '$out'" >&2
  exit 1
fi
times=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  "$runner" --no-wait "$program" > /dev/null 2>&1
  end=$(date +%s%N)
  times+=($(( (end - start) / 1000000 )))
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(echo "$sorted" | sed -n "$(( (runs + 1) / 2 ))p")
echo "zorvant-run --no-wait, 1000000-pass loop (2000002 statements): median ${median} ms of ${runs} runs ($(echo $sorted | tr '\n' ' ')ms)"
