#!/usr/bin/env bash
# with_display.sh [WxHxD] COMMAND...: runs COMMAND on a virtual X display of its own (default
# screen 1600x1200x24). Xvfb picks a free display number itself, so any number of these can
# start side by side.
set -euo pipefail
screen=1600x1200x24
if [[ ${1:-} =~ ^[0-9]+x[0-9]+x[0-9]+$ ]]; then
  screen=$1
  shift
fi
number=$(mktemp)
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$number" 2>/dev/null &
server=$!
trap 'kill $server 2>/dev/null; rm -f "$number"' EXIT
for _ in $(seq 600); do
  [ ! -s "$number" ] && kill -0 $server 2>/dev/null || break
  sleep 0.1
done
[ -s "$number" ] || { echo "with_display.sh: Xvfb did not start" >&2; exit 1; }
DISPLAY=":$(cat "$number")" "$@"
