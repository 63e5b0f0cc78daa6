#!/usr/bin/env bash
# Menu -> loading bar -> mission: the ground scrolls, the aircraft moves and fires, enemies
# arrive; Escape darkens and freezes the picture, Escape resumes, Escape + Backspace leaves.
source "$(dirname "$0")/lib.sh" "$@"

FIELD="0 80 1280 880"      # everything but the statistics text
BAR="20 560 1240 20"       # the loading bar (view y 280, 10 high)
PLAY="210 310 80 80"       # left end of the Play button

start_game
wait_window
sleep 0.5
key space
sleep 0.4
menu_play=$(probe mean "$(shot menu)" $PLAY)

key Return
sleep 0.25
early=$(probe white "$(shot loading_early)" $BAR)
sleep 0.35
later=$(probe white "$(shot loading_later)" $BAR)
expect_gt "$later" "$early" "the loading bar does not grow"

sleep 1.2
a=$(shot mission_a)
sleep 0.5
b=$(shot mission_b)
expect_gt "$(probe diff "$a" "$b" 0 80 300 880)" 1 "the ground does not scroll"

# The aircraft's read-outs are the only white things on the field before the enemies come.
read -r x0 y0 n0 < <(probe centroid "$a" $FIELD)
expect_gt "$n0" 20 "no aircraft read-out on the field"
hold a 0.6
read -r x1 _ _ < <(probe centroid "$(shot moved_left)" $FIELD)
expect_lt "$x1" $((x0 - 100)) "holding A does not move the aircraft left"

# Firing puts bright shots above the aircraft.
read -r x1 y1 _ < <(probe centroid "$(shot before_fire)" $FIELD)
above="0 80 1280 $((y1 - 140))"
quiet=$(probe count "$(shot before_fire)" $above 200)
xdotool keydown v
sleep 0.5
firing=$(probe count "$(shot firing)" $above 200)
xdotool keyup v
expect_gt "$firing" $((quiet + 40)) "holding V produces no bright shots"

# The first enemies arrive 3.2 s into the mission, with read-outs of their own up front.
sleep 2.2
enemies=$(probe white "$(shot enemies)" 0 80 1280 400)
expect_gt "$enemies" 20 "no enemy arrived"

# Pause: darker, and frozen.
before=$(shot before_pause)
key Escape
sleep 0.3
p1=$(shot paused_1)
sleep 0.5
p2=$(shot paused_2)
expect_lt "$(probe diff "$p1" "$p2" $FIELD)" 0.5 "the paused mission still moves"
expect_lt "$(probe mean "$p1" 0 600 1280 360)" "$(probe mean "$before" 0 600 1280 360)" "the pause does not darken"
key Escape
sleep 0.4
r1=$(shot resumed_1)
sleep 0.4
expect_gt "$(probe diff "$r1" "$(shot resumed_2)" $FIELD)" 0.5 "the mission did not resume"

key Escape
sleep 0.3
key BackSpace
sleep 0.6
[ "$(probe mean "$(shot back_to_menu)" $PLAY)" = "$menu_play" ] || fail "Backspace did not return to the menu"

close_game
wait_exit 10
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS"
echo ok
