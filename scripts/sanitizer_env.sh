# Sourced by the scripts that run sanitizer builds: source sanitizer_env.sh LOG_DIR
# Every report goes to a file under LOG_DIR (asan.PID, ubsan.PID) rather than to standard error,
# so that a report from a process whose output a test swallows (the game in an end-to-end
# scenario) is still seen. sanitizer_reports prints them all and fails when there is any.

sanitizer_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
sanitizer_logs=$1
mkdir -p "$sanitizer_logs"
# Only the reports of an earlier run go: LOG_DIR may well be a build directory.
rm -f "$sanitizer_logs"/asan.* "$sanitizer_logs"/ubsan.*

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:log_path=$sanitizer_logs/asan"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$sanitizer_logs/ubsan"
# Third-party leaks only; see the file.
export LSAN_OPTIONS="suppressions=$sanitizer_root/tests/lsan.supp:print_suppressions=0"

sanitizer_reports() {
  local reports=() report
  for report in "$sanitizer_logs"/asan.* "$sanitizer_logs"/ubsan.*; do
    [ -e "$report" ] && reports+=("$report")
  done
  [ "${#reports[@]}" -gt 0 ] || return 0
  for report in "${reports[@]}"; do
    echo "---- sanitizer report $(basename "$report") ----" >&2
    cat "$report" >&2
  done
  echo "${#reports[@]} sanitizer report(s); the files are in $sanitizer_logs" >&2
  return 1
}
