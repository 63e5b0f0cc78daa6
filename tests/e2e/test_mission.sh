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
# Timed part: the mission runs in real time and the first enemy arrives 3.2 s in, so only
# fast grabs happen here; everything is judged afterwards.
sleep 0.1
grab loading
sleep 1
grab mission_a
sleep 0.2
grab mission_b
grab before_fire
xdotool keydown v
sleep 0.4
grab firing
xdotool keyup v
grab before_move
hold a 0.4
grab moved_left
grab before_pause
key Escape
sleep 0.3
grab paused_1
sleep 0.3
grab paused_2
key Escape
sleep 0.3
grab resumed_1
sleep 0.3
grab resumed_2
for i in 1 2 3 4 5 6 7 8; do
  sleep 0.3
  grab "enemies_$i"
done
key Escape
sleep 0.3
key BackSpace
sleep 0.6
grab back_to_menu

# Part of the bar is filled: it grows with the one-second task behind it (24,800 px when full).
filled=$(probe white "$(developed loading)" $BAR)
expect_gt "$filled" 0 "the loading bar stays empty"
expect_lt "$filled" 24000 "the loading bar is full at once"

expect_gt "$(probe diff "$(developed mission_a)" "$(developed mission_b)" 0 80 300 880)" 1 "the ground does not scroll"

quiet=$(shots_above "$(developed before_fire)")
firing=$(shots_above "$(developed firing)")
expect_gt "$firing" $((quiet + 30)) "holding V produces no bright shots"

read -r x0 _ n0 < <(aircraft_at "$(developed before_move)")
expect_gt "$n0" 20 "no aircraft read-out on the field"
read -r x1 _ _ < <(aircraft_at "$(developed moved_left)")
expect_lt "$x1" $((x0 - 60)) "holding A does not move the aircraft left"

p1=$(developed paused_1)
expect_lt "$(probe diff "$p1" "$(developed paused_2)" $FIELD)" 0.5 "the paused mission still moves"
expect_lt "$(probe mean "$p1" $FIELD)" "$(( $(probe mean "$(developed before_pause)" $FIELD) - 10 ))" "the pause does not darken"
expect_gt "$(probe diff "$(developed resumed_1)" "$(developed resumed_2)" $FIELD)" 0.5 "the mission did not resume"

# The first enemies fly into view with read-outs of their own up front.
enemies=0
for i in 1 2 3 4 5 6 7 8; do
  enemies=$(probe white "$(developed "enemies_$i")" 0 80 1280 320)
  ((enemies > 20)) && break
done
expect_gt "$enemies" 20 "no enemy arrived"

[ "$(probe mean "$(developed back_to_menu)" $PLAY)" = "$menu_play" ] || fail "Backspace did not return to the menu"

close_game
wait_exit 10
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS"
echo ok
