#!/usr/bin/env bash
# A whole session. Title over the menu backdrop with a blinking prompt; any key opens the menu,
# whose highlight follows Down. Settings rebinds player 1's missile launch from B to N; Back
# returns. Play, holding A from the start: the aircraft flies to the left edge, where no enemy
# comes for half a minute of the mission. There the ground scrolls, V fires, enemies arrive;
# Escape darkens and freezes the picture, Escape resumes it; B launched nothing meanwhile, N
# launches both missiles (the aircraft's "2 M" read-out goes: unlike its digit, its absence is
# plain to see). Escape + Backspace leave for the menu, whose Exit ends the game with status 0.
# In a sanitizer build LeakSanitizer checks the whole session as the game ends.
source "$(dirname "$0")/lib.sh" "$@"

TITLE_TEXT="300 150 680 180"
KEY_NAMES="1100 100 180 560"    # player 2's key names, right of its buttons
MISSILE_KEY="500 620 80 60"     # the name of player 1's missile key
FIELD="0 80 1280 880"           # everything but the statistics text
MISSILES="0 612 180 40"         # the "2 M" read-out of the aircraft at the left edge
LINE_OF_FIRE="40 80 80 320"     # above the aircraft at the left edge
ENEMY_BAND="200 80 1080 320"    # where enemies and their read-outs come in
STATISTICS="0 0 250 60"

start_game
wait_window
# The prompt turns from white to grey and back every half second.
within "$DEADLINE" looks '>' 300 white $TITLE_TEXT || fail "the title text is never white"
within "$DEADLINE" looks '<' $((FIGURE / 4)) white $TITLE_TEXT || fail "the title text never turns grey"
[ "$(probe mean "$LAST" 0 600 1280 360)" -gt 15 ] || fail "the title has no backdrop"

key space
within "$DEADLINE" menu_shown || fail "no menu with Play selected"
play=$FIGURE normal=$(probe mean "$LAST" $HOST)
key Down
within "$DEADLINE" looks = "$play" mean $HOST || fail "the highlight did not move to Host"
[ "$(probe mean "$LAST" $PLAY)" = "$normal" ] || fail "Play kept its highlight"

# Host, Join, Settings; there Down five times from "Move up" to "Launch missile", which takes N.
key Down Down Return
within "$DEADLINE" looks '>' 100 white $KEY_NAMES || fail "the settings screen shows no key names"
bound=$(keep settings)
key Down Down Down Down Down Return n
within "$DEADLINE" looks '>' 2 diff "$bound" $MISSILE_KEY || fail "the missile key's name did not change"
# Up from the missile key round to Back: the menu again, Settings still selected.
key Up Up Up Up Up Up Return
within "$DEADLINE" looks '<' 30 white $KEY_NAMES || fail "the settings screen did not close"
[ "$(probe mean "$LAST" 210 620 55 60)" = "$play" ] || fail "the menu lost its selection"

xdotool keydown a
key Up Up Up Return
within "$DEADLINE" looks '>' 400 white $MISSILES || fail "holding A does not fly the aircraft to the left edge"
xdotool keyup a
ground=$(keep ground)
within "$DEADLINE" looks '>' 1 diff "$ground" 300 80 980 880 || fail "the ground does not scroll"

quiet=$(probe count "$LAST" $LINE_OF_FIRE 200)
xdotool keydown v
within "$DEADLINE" looks '>' $((quiet + 30)) count $LINE_OF_FIRE 200 || fail "holding V fires no shots"
xdotool keyup v
within "$DEADLINE" looks '>' 20 white $ENEMY_BAND || fail "no enemy arrived"

# B twice, then Escape: once the pause shows, B has been handled; once the mission runs again,
# any launch it asked for has happened.
lit=$(probe mean "$LAST" $FIELD)
key b b Escape
within "$DEADLINE" looks '<' $((lit - 10)) mean $FIELD || fail "Escape does not darken the mission"
paused=$(keep paused)
# Once the statistics text has changed, the game has drawn again: the field must not have.
within "$DEADLINE" looks '>' 0 diff "$paused" $STATISTICS || fail "the game stopped drawing"
holds "$(probe diff "$paused" "$LAST" $FIELD)" '<' 0.5 || fail "the paused mission still moves"
key Escape
within "$DEADLINE" looks '>' $((lit - 10)) mean $FIELD || fail "Escape does not resume"
within "$DEADLINE" running || fail "the mission did not resume"
[ "$(probe white "$LAST" $MISSILES)" -gt 400 ] || fail "B still launches missiles"
key n n
within "$DEADLINE" looks '<' 50 white $MISSILES || fail "N does not launch the missiles"

key Escape BackSpace
within "$DEADLINE" looks = "$play" mean $PLAY || fail "Backspace did not return to the menu"
key Up Return   # Exit
expect_exit 0
echo ok
