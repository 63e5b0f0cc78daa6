#!/usr/bin/env bash
# Sets up, builds and runs every test under a virtual display, ending with CTest's summary.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build="$root/build/test"
"$root/scripts/build.sh" "$build" RelWithDebInfo -DKIRROW_WERROR=ON
export ALSOFT_DRIVERS=null
cd "$build"
xvfb-run -a -s "-screen 0 1600x1200x24 -noreset" ctest --output-on-failure -j "$(nproc)" --timeout 600
