#!/usr/bin/env bash
# Menu -> Exit ends the game by itself with status 0.
source "$(dirname "$0")/lib.sh" "$@"

start_game
wait_window
sleep 0.5
key space
sleep 0.3
key Up Return   # wrap from Play to Exit
wait_exit 5
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS"
[ ! -s "$E2E_OUT" ] || fail "unexpected output: $(cat "$E2E_OUT")"
echo ok
