#!/usr/bin/env bash
# The game opens its 1280x960 window and ends with status 0, printing nothing, both when the
# window is closed (as a window manager's close button asks) and through the menu's Exit.
source "$(dirname "$0")/lib.sh" "$@"

start_game
wait_window
size=$(xdotool getwindowgeometry "$GAME_WID" | sed -n 's/.*Geometry: //p')
[ "$size" = 1280x960 ] || fail "the window is $size"
close_game
expect_exit 0
[ -z "$(printed)" ] || fail "printed: $(printed)"

start_game
wait_window
key space Up Return   # the title gives way to the menu, where Up from Play wraps round to Exit
expect_exit 0
[ -z "$(printed)" ] || fail "printed: $(printed)"
echo ok
