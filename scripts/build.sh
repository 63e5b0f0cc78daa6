#!/usr/bin/env bash
# Configures and builds into the given directory: build.sh DIR BUILD_TYPE [cmake options...]
set -euo pipefail
usage() {
  echo "usage: $0 DIR BUILD_TYPE [cmake options...]" >&2
  echo "  BUILD_TYPE: Debug, Release, RelWithDebInfo or MinSizeRel" >&2
  echo "  e.g. $0 build/test RelWithDebInfo -DKIRROW_WERROR=ON" >&2
  exit 2
}
[ $# -ge 2 ] || usage
case $2 in
  Debug | Release | RelWithDebInfo | MinSizeRel) ;;
  *) usage ;;
esac
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1 type=$2
shift 2
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
