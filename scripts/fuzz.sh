#!/usr/bin/env bash
# Fuzzes the network for about SECONDS in all (default 60), a third each: libFuzzer on the
# protocol's message readers and on the multiplayer client fed server messages (clang build in
# build/fuzz; the client runs beside build/asan's assets on a virtual display), and random traffic
# from several clients against a server driven on a stepped clock (the sanitizer build's
# test_fuzz in build/asan). Fails on any fault or sanitizer report.
#   scripts/fuzz.sh 600                       a longer run
#   KIRROW_FUZZ_SEED=$RANDOM scripts/fuzz.sh  other inputs (the fixed default makes runs repeat)
# The libFuzzer corpora grow in build/fuzz/corpus and build/fuzz/client-corpus across runs. An
# input that breaks a reader is kept as build/fuzz/crash-*, one that breaks the client as
# build/fuzz/client-crash-*; replay it with build/fuzz/bin/fuzz_messages FILE (or fuzz_client, run
# as below).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
seed=${KIRROW_FUZZ_SEED:-5000}
reader_seconds=$(( (seconds + 2) / 3 ))
client_seconds=$(( (seconds + 1) / 3 ))
server_seconds=$(( seconds / 3 ))

# libFuzzer comes with clang.
"$root/scripts/setup.sh"

fuzz="$root/build/fuzz"
"$root/scripts/build.sh" "$fuzz" RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DKIRROW_FUZZ=ON -DKIRROW_TESTS=OFF -DKIRROW_BENCH=OFF
asan="$root/build/asan"
"$root/scripts/sanitize.sh" --build-only

status=0
echo "Fuzzing the message readers for ${reader_seconds} s (seed $seed)..."
mkdir -p "$fuzz/corpus"
log="$fuzz/fuzz_messages.log"
if ASAN_OPTIONS="detect_leaks=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    "$fuzz/bin/fuzz_messages" -seed="$seed" -max_total_time="$reader_seconds" -max_len=256 -timeout=10 \
    -artifact_prefix="$fuzz/" -print_final_stats=1 "$fuzz/corpus" >"$log" 2>&1; then
  grep -E '^(stat::number_of_executed_units|stat::new_units_added)|^Done' "$log" || true
  echo "corpus: $(ls "$fuzz/corpus" | wc -l) inputs"
else
  tail -n 60 "$log" >&2
  echo "The message reader fuzzer found a fault (full log: $log)." >&2
  status=1
fi

if [ "$client_seconds" -gt 0 ]; then
  echo "Fuzzing the client's message handling for ${client_seconds} s (seed $seed)..."
  mkdir -p "$fuzz/client-corpus"
  log="$fuzz/fuzz_client.log"
  # Leaks are the sanitizer pass's business; here OpenGL and OpenAL would report their own.
  if (cd "$asan/bin" && ALSOFT_DRIVERS=null UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
      "$root/scripts/with_display.sh" "$fuzz/bin/fuzz_client" -seed="$seed" -detect_leaks=0 \
      -max_total_time="$client_seconds" -max_len=4096 -timeout=60 -artifact_prefix="$fuzz/client-" \
      -print_final_stats=1 "$fuzz/client-corpus") >"$log" 2>&1; then
    grep -E '^(stat::number_of_executed_units|stat::new_units_added)|^Done' "$log" || true
  else
    tail -n 60 "$log" >&2
    echo "The client fuzzer found a fault (full log: $log)." >&2
    status=1
  fi
fi

if [ "$server_seconds" -gt 0 ]; then
  echo "Fuzzing the server for ${server_seconds} s (seed $seed)..."
  source "$root/scripts/sanitizer_env.sh" "$asan/fuzz-sanitizer-logs"
  # On port 5000 of a network namespace of its own.
  (cd "$asan/bin" && KIRROW_FUZZ_SECONDS="$server_seconds" KIRROW_FUZZ_SEED="$seed" \
    "$root/tests/private_network.sh" ./test_fuzz --gtest_filter='ServerFuzzTest.*' --gtest_brief=1) || status=1
  sanitizer_reports || status=1
fi

if [ "$status" -eq 0 ]; then echo "Fuzzing: nothing found."; else echo "Fuzzing FAILED." >&2; fi
exit "$status"
