#!/usr/bin/env bash
# The check of one AddressSanitizer + UBSan build with warnings as errors (build/asan), in two
# timed stages:
#   build  the game, the asset generator and every test and benchmark program
#   test   every unit test and end-to-end scenario, side by side on virtual displays; the game in
#          the scenarios is checked by LeakSanitizer as it ends
# Fails on a build error or warning, a failed test, and any sanitizer report (kept in
# build/asan/sanitizer-logs/ and printed).
#   scripts/sanitize.sh [--build-only | --test-only]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/asan"
source "$root/scripts/stage.sh"

# -O1 with line tables builds a third faster than -O2 with full debug information and still names
# every frame of a report.
[ "${1:-}" = --test-only ] ||
  stage build "$root/scripts/build.sh" "$build" RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
    -DKIRROW_SANITIZE=ON -DKIRROW_WERROR=ON -DKIRROW_TESTS=ON -DKIRROW_BENCH=ON
[ "${1:-}" != --build-only ] || exit 0

source "$root/scripts/sanitizer_env.sh" "$build/sanitizer-logs"
export ALSOFT_DRIVERS=null
run_tests() { cd "$build" && "$root/scripts/with_display.sh" ctest --output-on-failure -j "$(nproc)" --timeout 600; }
status=0
stage test run_tests || status=1
sanitizer_reports || status=1
if [ "$status" -eq 0 ]; then echo "Every test passed, no sanitizer reports."; else echo "Sanitizer build FAILED." >&2; fi
exit "$status"
