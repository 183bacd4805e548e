#!/usr/bin/env bash
# Builds BUILD_DIR with profile-guided optimisation: first a runner that records where programs
# spend their time, then a run of the training programs with it, then the whole build again
# optimised with that record. Extra arguments go to cmake when configuring.
#
#   scripts/profiled-build.sh BUILD_DIR [-DOPTION=VALUE ...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
shift
jobs=${JOBS:-$(nproc)}
profile=$(realpath -m "$build/profile")

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DZORVANT_PROFILE=generate \
  -DZORVANT_PROFILE_DIR="$profile" "$@"
cmake --build "$build" -j "$jobs" --target zorvant-run
rm -rf "$profile"

# The training: programs of every kind a classroom writes, the lessons and the behaviour
# tests. Their output and their errors do not matter here, only where the time goes.
count=0
while IFS= read -r program; do
  "$build/bin/zorvant-run" --no-wait --max-steps 5000000 "$program" > /dev/null 2>&1 || true
  count=$((count + 1))
done < <(find bench/training samples tests/programs -name '*.bas' | sort)
echo "profiled-build: trained on $count programs"

cmake -S . -B "$build" -DZORVANT_PROFILE=use
cmake --build "$build" -j "$jobs"
