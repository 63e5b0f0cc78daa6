#!/usr/bin/env bash
# Title over the menu backdrop with a blinking prompt; any key opens the menu, whose highlight
# follows Down; Settings opens over it and Back returns.
source "$(dirname "$0")/lib.sh" "$@"

TITLE_TEXT="300 150 680 180"
start_game
wait_window
sleep 1

# The prompt alternates between white and grey every half second.
whites=()
for i in 1 2 3 4 5 6; do
  whites+=("$(probe white "$(shot "title_$i")" $TITLE_TEXT)")
  sleep 0.25
done
max=0 min=999999
for w in "${whites[@]}"; do
  ((w > max)) && max=$w
  ((w < min)) && min=$w
done
expect_gt "$max" 300 "the title text is never white"
expect_lt "$min" $((max / 4)) "the title text never turns grey"
# The statistics text sits in the top-left corner over everything.
expect_gt "$(probe white "$(shot title_stats)" 0 0 200 60)" 20 "no statistics text"
# The backdrop is a picture, not black.
expect_gt "$(probe mean "$(shot title_backdrop)" 0 600 1280 360)" 15 "the title has no backdrop"

# Buttons (view 100,150 + 50 per row, 200x50) are at window x 200-600, y 300 + 100 per row;
# their left ends (clear of the rounded corners) hold no caption, so equal looks measure the same.
PLAY="210 320 55 60"
HOST="210 420 55 60"
key space
sleep 0.5
menu=$(shot menu)
play_selected=$(probe mean "$menu" $PLAY)
host_normal=$(probe mean "$menu" $HOST)
[ "$play_selected" != "$host_normal" ] || fail "Play is not highlighted"

key Down
sleep 0.3
moved=$(shot menu_down)
[ "$(probe mean "$moved" $HOST)" = "$play_selected" ] || fail "the highlight did not move to Host"
[ "$(probe mean "$moved" $PLAY)" = "$host_normal" ] || fail "Play kept its highlight"

# Host -> Join -> Settings, then open it.
key Down Down Return
sleep 0.5
settings=$(shot settings)
# Player 2's key labels fill the right-hand column (view x 550+).
expect_gt "$(probe white "$settings" 1100 100 180 560)" 100 "the settings screen shows no key names"
# Up from the first binding wraps to Back; Back returns to the menu with Settings still selected.
key Up Return
sleep 0.5
back=$(shot menu_back)
expect_lt "$(probe white "$back" 1100 100 180 560)" 30 "the settings screen did not close"
[ "$(probe mean "$back" 210 620 55 60)" = "$play_selected" ] || fail "the menu lost its selection"

close_game
wait_exit 10
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS"
echo ok
