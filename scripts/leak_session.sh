#!/usr/bin/env bash
# A scripted session of a sanitizer build of the game, checked by LeakSanitizer when the game
# ends: title, menu, a few seconds of a mission (moving, firing, missiles, enemies arriving),
# pause, back to the menu, Exit. Should a screen not take its keys, the window's close button
# ends the session instead. Passes when the game ends with status 0 and leaves no sanitizer
# report; leaks of third-party libraries listed in tests/lsan.supp are shown but do not count.
# Usage: leak_session.sh BIN_DIR SHOT_DIR   (KIRROW_E2E_TOOLS names the e2e tools directory)
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tests/e2e/lib.sh" "$@"

ldd "$E2E_BIN_DIR/kirrow" | grep libasan >/dev/null || fail "$E2E_BIN_DIR/kirrow is not a sanitizer build"
reports=$(mktemp -d)
trap 'cleanup; rm -rf "$reports"' EXIT
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:log_path=$reports/asan"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$reports/ubsan"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=1"

start_game
wait_window
sleep 1.5
shot title >/dev/null
# Any key leaves the title; "Play" is selected in the menu.
key space
sleep 1
shot menu >/dev/null
key Return
# Loading, then the mission: fly about firing, launch both missiles, let the first enemies come.
sleep 2.5
xdotool keydown v
hold a 0.5
key b
hold d 0.5
key b
sleep 3.5
xdotool keyup v
shot mission >/dev/null
# Pause, back to the menu, and there Up from "Play" wraps round to "Exit".
key Escape
sleep 0.5
key BackSpace
sleep 1
shot menu_again >/dev/null
key Up
sleep 0.3
key Return
how="through the menu's Exit"
for ((i = 0; i < 50; i++)); do
  kill -0 "$GAME_PID" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$GAME_PID" 2>/dev/null; then
  how="by closing its window"
  close_game
fi
# The leak check runs as the game ends and takes a while in a sanitizer build.
wait_exit 60

found=0
for report in "$reports"/*; do
  [ -e "$report" ] || continue
  if grep -q -E 'ERROR: (Leak|Address)Sanitizer|runtime error' "$report"; then
    echo "---- $(basename "$report") ----" >&2
    cat "$report" >&2
    found=1
  else
    echo "Third-party leaks suppressed by tests/lsan.supp:"
    grep -A 50 'Suppressions used' "$report" || cat "$report"
  fi
done
[ "$found" -eq 0 ] || fail "sanitizer reports (above)"
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS, expected 0"
echo "ok: leak-checked session, ended $how"
