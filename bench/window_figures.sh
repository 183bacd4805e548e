#!/usr/bin/env bash
# Figures of the window, measured in real processes under Xvfb:
#   - statements per second of the counting loop in the window against the headless runner,
#   - what keeping each run's past costs (on/off pairs) and takes, and how fast it goes back,
#   - CPU time over 10 s while a program is paused and while it waits in DELAY 10000,
#   - time from process start to the window's first paint,
#   - time to colour a 5,000-line program, and what a keystroke costs in it,
#   - a line of 100,000 and of 1,000,000 characters: CPU while the caret waits in it, what a
#     keystroke costs there, and LOAD of a 1 MB one-line file (offscreen, then under Xvfb).
set -euo pipefail
bin=${1:-build/bin}
display=:$(( 90 + RANDOM % 9 ))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY=$display

echo "== run loop speed (window on the offscreen platform, then under Xvfb) =="
for _ in 1 2 3; do QT_QPA_PLATFORM=offscreen "$bin/window_driver" rate 2>/dev/null; done
for _ in 1 2 3; do "$bin/window_driver" rate 2>/dev/null; done
bash "$(dirname "$0")/runner_time.sh" "$bin/zorvant-run"

echo "== the run's past: cost of keeping it (on/off pairs), bytes a statement, step back, time cursor =="
QT_QPA_PLATFORM=offscreen "$bin/window_driver" history 5 2>/dev/null

echo "== device statements: the window against the runner =="
loops=$(mktemp -d)
QT_QPA_PLATFORM=offscreen "$bin/window_driver" device-programs "$loops" 2>/dev/null
for name in controller beacon speed; do
  # The runner at full speed: the statements it makes in the wall time it takes, best of 3.
  steps=$(( $(grep -c '' "$loops/$name.bas") ))
  best=""
  for _ in 1 2 3; do
    start=$(date +%s%N)
    "$bin/zorvant-run" --no-wait "$loops/$name.bas" >/dev/null 2>&1
    end=$(date +%s%N)
    ns=$(( end - start ))
    if [ -z "$best" ] || [ "$ns" -lt "$best" ]; then best=$ns; fi
  done
  echo "runner, $name loop: $(awk -v n="$best" 'BEGIN { printf "%.3f", n / 1e9 }') s (the window's lines give its statement count)"
done
rm -rf "$loops"
QT_QPA_PLATFORM=offscreen "$bin/window_driver" device-rate 2>/dev/null

echo "== CPU while nothing can run =="
"$bin/window_driver" idle-cpu 2>/dev/null

echo "== start-up =="
for _ in 1 2 3 4 5; do
  "$bin/window_driver" startup "$(date +%s%N)" 2>/dev/null
done

echo "== colouring a 5,000-line program =="
"$bin/window_driver" highlight 2>/dev/null

echo "== one long line =="
QT_QPA_PLATFORM=offscreen "$bin/window_driver" long-line 2>/dev/null
"$bin/window_driver" long-line 2>/dev/null
