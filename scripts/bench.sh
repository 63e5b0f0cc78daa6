#!/usr/bin/env bash
# Builds the Release build if needed, runs every benchmark on a virtual display (each several
# times) and prints a table: figure, target, measured (median over the runs), pass.
#
#   scripts/bench.sh [--runs N] [--soak-seconds N]
#     --runs N          runs of each benchmark (default 3); the soak runs once
#     --soak-seconds N  length of the memory soak (default 600, the full ten minutes)
# The programs' own output is kept in build/release/bench-logs/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=3
soak_seconds=600
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --soak-seconds) soak_seconds=$2; shift 2 ;;
    *) echo "usage: $0 [--runs N] [--soak-seconds N]" >&2; exit 2 ;;
  esac
done

build="$root/build/release"
if [ -z "${KIRROW_BENCH_DISPLAY:-}" ]; then
  "$root/scripts/setup.sh"
  "$root/scripts/build.sh" "$build" Release -DKIRROW_TESTS=OFF -DKIRROW_BENCH=ON
  KIRROW_BENCH_DISPLAY=1 exec "$root/scripts/with_display.sh" "$0" --runs "$runs" --soak-seconds "$soak_seconds"
fi

export ALSOFT_DRIVERS=null
# The game starts from its defaults, whatever settings the person running this keeps.
XDG_CONFIG_HOME=$(mktemp -d)
export XDG_CONFIG_HOME
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
logs="$build/bench-logs"
mkdir -p "$logs"
rm -f "$logs"/*.log
figures="$logs/figures.txt"
: > "$figures"
cd "$build/bin"

# run NAME TIMES ARGS...: runs bench_NAME, keeps its output, collects its FIGURE lines.
run() {
  local name=$1 times=$2
  shift 2
  for i in $(seq 1 "$times"); do
    echo "== bench_$name $* (run $i of $times)" >&2
    "./bench_$name" "$@" > "$logs/${name}_$i.log" 2>"$logs/${name}_$i.err" || echo "bench_$name failed (see $logs/${name}_$i.log)" >&2
    grep '^FIGURE|' "$logs/${name}_$i.log" >> "$figures" || true
  done
}

run flight "$runs"
run crowd "$runs"
run frame "$runs"
run particles "$runs"
run game "$runs"
run server "$runs"
run soak 1 --soak-seconds "$soak_seconds"

echo
echo "Kirrow benchmarks, $(date '+%Y-%m-%d %H:%M'), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg), median of $runs runs (soak: one run of $soak_seconds s)"
echo
# Median of the numbers per figure, in order of first appearance; the target is judged again on
# the median. A figure whose runs failed outright shows its text and FAIL.
awk -F'|' '
  function judge(target, value,   parts) {
    split(target, parts, " ")
    if (parts[1] == "<=") return value <= parts[2] + 0 ? "PASS" : "FAIL"
    if (parts[1] == ">=") return value >= parts[2] + 0 ? "PASS" : "FAIL"
    return "-"
  }
  {
    if (!($2 in count)) { order[++n] = $2; target[$2] = $3 }
    split($4, parts, " ")
    unit[$2] = substr($4, length(parts[1]) + 2)
    if (parts[1] ~ /^-?[0-9.]+$/) values[$2, ++count[$2]] = parts[1] + 0
    else { count[$2] += 0; text[$2] = $4 }
  }
  END {
    printf "| %-56s | %-18s | %-22s | %-4s |\n", "figure", "target", "measured", "pass"
    printf "|%s|%s|%s|%s|\n", "----------------------------------------------------------", "--------------------", "------------------------", "------"
    for (i = 1; i <= n; ++i) {
      name = order[i]; k = count[name]
      if (k == 0) { printf "| %-56s | %-18s | %-22s | %-4s |\n", name, target[name], text[name], "FAIL"; continue }
      for (a = 1; a <= k; ++a) sorted[a] = values[name, a]
      for (a = 1; a <= k; ++a) for (b = a + 1; b <= k; ++b) if (sorted[b] < sorted[a]) { t = sorted[a]; sorted[a] = sorted[b]; sorted[b] = t }
      median = k % 2 ? sorted[(k + 1) / 2] : (sorted[k / 2] + sorted[k / 2 + 1]) / 2
      measured = sprintf("%.3g %s", median, unit[name])
      printf "| %-56s | %-18s | %-22s | %-4s |\n", name, target[name], measured, judge(target[name], median)
    }
  }' "$figures"
