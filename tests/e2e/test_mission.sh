#!/usr/bin/env bash
# Menu -> loading bar -> mission: the ground scrolls, the aircraft moves and fires, enemies
# arrive; Escape darkens and freezes the picture, Escape resumes, Escape + Backspace leaves.
source "$(dirname "$0")/lib.sh" "$@"

FIELD="0 80 1280 880"      # everything but the statistics text
BAR="20 560 1240 20"       # the loading bar (view y 280, 10 high)
PLAY="210 320 55 60"       # left end of the Play button, clear of caption and corners

start_game
wait_window
sleep 0.5
key space
sleep 0.4
menu_play=$(probe mean "$(shot menu)" $PLAY)

key Return
sleep 0.1
# Part of the bar is filled: it grows with the one-second task behind it (24,800 px when full).
filled=$(probe white "$(shot loading)" $BAR)
expect_gt "$filled" 0 "the loading bar stays empty"
expect_lt "$filled" 24000 "the loading bar is full at once"

sleep 1
a=$(shot mission_a)
sleep 0.2
b=$(shot mission_b)
expect_gt "$(probe diff "$a" "$b" 0 80 300 880)" 1 "the ground does not scroll"

# Firing puts bright shots above the aircraft (checked first: the enemies are still far).
quiet=$(shots_above before_fire)
xdotool keydown v
sleep 0.4
firing=$(shots_above firing)
xdotool keyup v
expect_gt "$firing" $((quiet + 30)) "holding V produces no bright shots"

read -r x0 _ n0 < <(aircraft_at "$(shot before_move)")
expect_gt "$n0" 20 "no aircraft read-out on the field"
hold a 0.4
read -r x1 _ _ < <(aircraft_at "$(shot moved_left)")
expect_lt "$x1" $((x0 - 60)) "holding A does not move the aircraft left"

# Pause: darker, and frozen.
before=$(shot before_pause)
key Escape
sleep 0.3
p1=$(shot paused_1)
sleep 0.3
p2=$(shot paused_2)
expect_lt "$(probe diff "$p1" "$p2" $FIELD)" 0.5 "the paused mission still moves"
expect_lt "$(probe mean "$p1" $FIELD)" "$(( $(probe mean "$before" $FIELD) - 10 ))" "the pause does not darken"
key Escape
sleep 0.3
r1=$(shot resumed_1)
sleep 0.3
expect_gt "$(probe diff "$r1" "$(shot resumed_2)" $FIELD)" 0.5 "the mission did not resume"

# The first enemies arrive 3.2 s into the mission and fly into view with read-outs of their own.
enemies=0
for i in 1 2 3 4 5 6 7 8; do
  enemies=$(probe white "$(shot "enemies_$i")" 0 80 1280 320)
  ((enemies > 20)) && break
  sleep 0.3
done
expect_gt "$enemies" 20 "no enemy arrived"

key Escape
sleep 0.3
key BackSpace
sleep 0.6
[ "$(probe mean "$(shot back_to_menu)" $PLAY)" = "$menu_play" ] || fail "Backspace did not return to the menu"

close_game
wait_exit 10
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS"
echo ok
