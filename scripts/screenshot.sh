#!/usr/bin/env bash
# Opens the editor under Xvfb with a sample program, runs it for a few seconds and writes a
# picture of the whole window.
#   scripts/screenshot.sh [OUT.png] [PROGRAM.bas] [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-screenshot.png}
program=${2:-samples/attitude.bas}
seconds=${3:-3}
[ -x build/bin/window_driver ] || make build
xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/window_driver screenshot "$out" "$program" "$seconds"
echo "wrote $out"
