#!/usr/bin/env bash
# The game opens its 1280x960 window and ends with status 0 when the window is closed.
source "$(dirname "$0")/lib.sh" "$@"

start_game
wait_window
sleep 1.5
size=$(xdotool getwindowgeometry "$GAME_WID" | sed -n 's/.*Geometry: //p')
[ "$size" = "1280x960" ] || fail "window is $size"
first=$(shot start)
[ "$(picture_size "$first")" = "1280x960" ] || fail "screenshot is $(picture_size "$first")"

# Closing the window (WM_DELETE_WINDOW, as a window manager's close button sends it).
close_game
wait_exit 10
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after closing"
[ ! -s "$E2E_OUT" ] || fail "unexpected output: $(cat "$E2E_OUT")"
echo "ok"
