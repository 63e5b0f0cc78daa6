#!/usr/bin/env bash
# Menu -> loading -> mission, holding A from the start: the aircraft flies to the left edge, where
# no enemy comes for half a minute of the mission. There the ground scrolls, V fires, enemies
# arrive, B launches the missiles; Escape darkens and freezes the picture, Escape resumes it;
# Escape + Backspace leave for the menu, whose Exit ends the game with status 0. In a sanitizer
# build LeakSanitizer checks the whole session as the game ends.
source "$(dirname "$0")/lib.sh" "$@"

FIELD="0 80 1280 880"           # everything but the statistics text
MISSILES="0 612 180 40"         # the "2 M" read-out of the aircraft at the left edge
LINE_OF_FIRE="40 80 80 320"     # above the aircraft at the left edge
ENEMY_BAND="200 80 1080 320"    # where enemies and their read-outs come in
STATISTICS="0 0 250 60"

start_game
wait_window
key space
within "$DEADLINE" menu_shown || fail "no menu with Play selected"
play=$FIGURE
xdotool keydown a
key Return
within "$DEADLINE" looks '>' 400 white $MISSILES || fail "holding A does not fly the aircraft to the left edge"
xdotool keyup a
ground=$(keep ground)
within "$DEADLINE" looks '>' 1 diff "$ground" 300 80 980 880 || fail "the ground does not scroll"

quiet=$(probe count "$LAST" $LINE_OF_FIRE 200)
xdotool keydown v
within "$DEADLINE" looks '>' $((quiet + 30)) count $LINE_OF_FIRE 200 || fail "holding V fires no shots"
xdotool keyup v
within "$DEADLINE" looks '>' 20 white $ENEMY_BAND || fail "no enemy arrived"
key b b     # both missiles: the read-out goes
within "$DEADLINE" looks '<' 50 white $MISSILES || fail "B does not launch the missiles"

lit=$(probe mean "$LAST" $FIELD)
key Escape
within "$DEADLINE" looks '<' $((lit - 10)) mean $FIELD || fail "Escape does not darken the mission"
paused=$(keep paused)
# Once the statistics text has changed, the game has drawn again: the field must not have.
within "$DEADLINE" looks '>' 0 diff "$paused" $STATISTICS || fail "the game stopped drawing"
holds "$(probe diff "$paused" "$LAST" $FIELD)" '<' 0.5 || fail "the paused mission still moves"
key Escape
within "$DEADLINE" looks '>' $((lit - 10)) mean $FIELD || fail "Escape does not resume"
within "$DEADLINE" running || fail "the mission did not resume"

key Escape BackSpace
within "$DEADLINE" looks = "$play" mean $PLAY || fail "Backspace did not return to the menu"
key Up Return   # Exit
expect_exit 0
echo ok
