#!/usr/bin/env bash
# Title over the menu backdrop with a blinking prompt; any key opens the menu, whose highlight
# follows Down. Settings opens over it and rebinds player 1's missile launch from B to N; Back
# returns. In the mission that follows B launches nothing and N both missiles: the aircraft's
# "2 M" read-out goes (unlike its digit, its absence is plain to see).
source "$(dirname "$0")/lib.sh" "$@"

TITLE_TEXT="300 150 680 180"
KEY_NAMES="1100 100 180 560"    # player 2's key names, right of its buttons
MISSILE_KEY="500 620 80 60"     # the name of player 1's missile key
MISSILES="0 612 180 40"         # the missile read-out of an aircraft at the left edge
FIELD="0 80 1280 880"           # everything but the statistics text

start_game
wait_window
# The prompt turns from white to grey and back every half second.
within "$DEADLINE" looks '>' 300 white $TITLE_TEXT || fail "the title text is never white"
within "$DEADLINE" looks '<' $((FIGURE / 4)) white $TITLE_TEXT || fail "the title text never turns grey"
[ "$(probe mean "$LAST" 0 600 1280 360)" -gt 15 ] || fail "the title has no backdrop"

key space
within "$DEADLINE" menu_shown || fail "no menu with Play selected"
selected=$FIGURE normal=$(probe mean "$LAST" $HOST)
key Down
within "$DEADLINE" looks = "$selected" mean $HOST || fail "the highlight did not move to Host"
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
[ "$(probe mean "$LAST" 210 620 55 60)" = "$selected" ] || fail "the menu lost its selection"

# Play, holding A: the aircraft flies to the left edge, where no enemy comes for half a minute.
xdotool keydown a
key Up Up Up Return
within "$DEADLINE" looks '>' 400 white $MISSILES || fail "no aircraft at the left edge"
xdotool keyup a
lit=$(probe mean "$LAST" $FIELD)
# B twice, then Escape: once the pause shows, B has been handled; once the mission runs again,
# any launch it asked for has happened.
key b b Escape
within "$DEADLINE" looks '<' $((lit - 10)) mean $FIELD || fail "Escape does not pause"
key Escape
within "$DEADLINE" looks '>' $((lit - 10)) mean $FIELD || fail "Escape does not resume"
within "$DEADLINE" running || fail "the mission does not run"
[ "$(probe white "$LAST" $MISSILES)" -gt 400 ] || fail "B still launches missiles"
key n n
within "$DEADLINE" looks '<' 50 white $MISSILES || fail "N does not launch the missiles"

close_game
expect_exit 0
echo ok
