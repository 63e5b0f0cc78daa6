#!/usr/bin/env bash
# What the game plays reaches the output: OpenAL's wave driver records the mix to a file while
# the menu music plays and a button is pressed; the music is not silence and the button's click
# is heard just after the key press, not before.
source "$(dirname "$0")/lib.sh" "$@"

capture="$E2E_SHOT_DIR/${E2E_NAME}.wav"
config=$(mktemp)
rm -f "$capture"
printf '[general]\ndrivers=wave\nsample-type=int16\n[wave]\nfile=%s\n' "$capture" > "$config"
export ALSOFT_DRIVERS=wave ALSOFT_CONF=$config

start_game
wait_window
sleep 0.5
key space
# Let the menu music play a while; the file grows as the driver plays.
sleep 3
[ -s "$capture" ] || fail "nothing was recorded"
pressed_at_bytes=$(stat -c %s "$capture")
key Down Down Down Return     # Settings: the click of an activated button
sleep 1.5
close_game
wait_exit 10
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS"

audio() { "${KIRROW_E2E_TOOLS:?}/audio_probe" "$@"; }
pressed=$(audio seconds "$capture" "$pressed_at_bytes")
at() { awk -v t="$pressed" -v d="$1" 'BEGIN { print t + d }'; }
read -r music_rms _ < <(audio levels "$capture" "$(at -2)" "$pressed")
click="$E2E_BIN_DIR/../share/sound/Button.wav"
# The three Down presses are selections (silent); Return follows within half a second.
before=$(audio match "$capture" "$click" "$(at -1.5)" "$pressed")
after=$(audio match "$capture" "$click" "$pressed" "$(at 1)")
echo "music rms $music_rms; the click's likeness before the press $before, after it $after"
expect_gt "$music_rms" 300 "the menu music is silent"
expect_gt "$after" 0.5 "no click after the key press"
expect_gt "$after" "$(awk -v b="$before" 'BEGIN { print 1.8 * b }')" "the click does not stand out from the music"
rm -f "$config"
echo ok
