# Sourced by the test scripts. stage NAME COMMAND...: runs COMMAND as the stage NAME and prints
# how long it took: wall time, and processor time of all its processes (user + system).
stage() {
  local TIMEFORMAT="== $1: %R s wall, %U s user + %S s sys processor time"
  echo "== $1"
  shift
  time "$@"
}
