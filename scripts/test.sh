#!/usr/bin/env bash
# Sets up, builds and runs every test under a virtual display, ending with CTest's summary.
# Before the normal pass's tests: the sanitizer pass (scripts/sanitize.sh) and a bounded fuzz run
# (scripts/fuzz.sh). The script fails when any of them fails; the normal pass runs regardless.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build="$root/build/test"
"$root/scripts/build.sh" "$build" RelWithDebInfo -DKIRROW_WERROR=ON

hardening=0
"$root/scripts/sanitize.sh" || hardening=1
"$root/scripts/fuzz.sh" 40 || hardening=1
[ "$hardening" -eq 0 ] || echo "The sanitizer pass or the fuzz run FAILED (see above); the normal pass follows." >&2

export ALSOFT_DRIVERS=null
cd "$build"
status=0
xvfb-run -a -s "-screen 0 1600x1200x24 -noreset" ctest --output-on-failure -j "$(nproc)" --timeout 600 || status=$?
[ "$status" -ne 0 ] || status=$hardening
exit "$status"
