#!/usr/bin/env bash
# Settings: player 1's Fire rebound to F; in the mission F fires and V no longer does.
source "$(dirname "$0")/lib.sh" "$@"

FIELD="0 80 1280 880"
start_game
wait_window
sleep 0.5
key space
sleep 0.3
key Down Down Down Return     # Settings
sleep 0.4
key Down Down Down Down Return f   # arm player 1's Fire, bind F
sleep 0.3
# The Fire label (view 250,250) now reads "F".
shot settings_bound >/dev/null
key Up Up Up Up Up Return     # wrap to Back
sleep 0.3
key Up Up Up Return           # Settings -> Play
sleep 1.2

grab quiet
xdotool keydown v
sleep 0.4
grab old_key
xdotool keyup v
sleep 0.8                     # let the shots leave the screen; enemies come after 3.2 s
xdotool keydown f
sleep 0.4
grab new_key
xdotool keyup f

quiet=$(shots_above "$(developed quiet)")
old_key=$(shots_above "$(developed old_key)")
new_key=$(shots_above "$(developed new_key)")
expect_lt "$old_key" $((quiet + 30)) "V still fires after rebinding"
expect_gt "$new_key" $((quiet + 30)) "F does not fire after rebinding"

close_game
wait_exit 10
echo ok
