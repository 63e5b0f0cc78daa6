#!/usr/bin/env bash
# Sets up, builds and runs every test; CI runs exactly this (.ci/run). Its stages print their own
# wall and processor times:
#   setup   installs what is missing (scripts/setup.sh)
#   build   one AddressSanitizer + UBSan build with warnings as errors, tests and benchmarks
#           included (scripts/sanitize.sh)
#   test    every unit test and end-to-end scenario of that build, side by side
#   fuzz    a clang build of the protocol readers, then a bounded fuzz run (scripts/fuzz.sh)
# Fails when any stage fails; the fuzz run follows failed tests all the same.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/stage.sh"

everything() {
  echo "== $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
  stage setup "$root/scripts/setup.sh" || return 1
  "$root/scripts/sanitize.sh" --build-only || return 1
  local failed=0
  "$root/scripts/sanitize.sh" --test-only || failed=1
  stage fuzz "$root/scripts/fuzz.sh" 20 || failed=1
  return "$failed"
}
status=0
stage all everything || status=1
if [ "$status" -eq 0 ]; then echo "All tests passed."; else echo "Tests FAILED (see above)." >&2; fi
exit "$status"
