#!/usr/bin/env bash
# Renders each manual page with every groff warning on; any warning fails.
set -euo pipefail
status=0
for page in "$@"; do
  warnings=$(LC_ALL=C.UTF-8 groff -ww -z -man "$page" 2>&1)
  if [ -n "$warnings" ]; then
    echo "$page:"
    echo "$warnings"
    status=1
  fi
done
exit $status
