#!/usr/bin/env bash
# Configures and builds into the given directory: build.sh DIR BUILD_TYPE [cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1 type=$2
shift 2
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
