#!/usr/bin/env bash
# Sets up, builds (Release) and starts Kirrow.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build/release" Release -DKIRROW_TESTS=OFF -DKIRROW_BENCH=OFF
cd "$root/build/release/bin"
exec ./kirrow
