#!/usr/bin/env bash
# What the game plays reaches the output: OpenAL's wave driver records the mix to a file while
# the menu music plays and buttons are pressed. The music is not silence, and the buttons' click
# is heard after the first key press and not before it. Four clicks (Settings, Back, twice): one
# at least falls where the music leaves it plainly audible.
source "$(dirname "$0")/lib.sh" "$@"

capture="$E2E_SHOT_DIR/$E2E_NAME.wav"
rm -f "$capture"
printf '[general]\ndrivers=wave\nfrequency=44100\nchannels=stereo\nsample-type=int16\n[wave]\nfile=%s\n' "$capture" > "$E2E_TMP/alsoft.conf"
export ALSOFT_DRIVERS=wave ALSOFT_CONF=$E2E_TMP/alsoft.conf
audio() { "$E2E_TOOLS/audio_probe" "$@"; }
# Seconds recorded so far: 44100 frames of two 16-bit samples a second (the header is negligible).
length() { awk -v bytes="$(stat -c %s "$capture")" 'BEGIN { print bytes / 176400 }'; }
recorded() { [ -s "$capture" ] && holds "$(length)" '>' "$1"; }
later() { awk -v a="$1" -v b="$2" 'BEGIN { print a + b }'; }

start_game
wait_window
key space
within "$DEADLINE" menu_shown || fail "no menu"
within "$DEADLINE" recorded "$(later "$(length)" 2.5)" || fail "the recording stopped"
pressed=$(length)
KEY_NAMES="1100 100 180 560"
key Down Down Down Return     # Settings (only activating a button clicks), then Back (Up wraps to it)
for twice in 1 2; do
  within "$DEADLINE" looks '>' 100 white $KEY_NAMES || fail "the settings screen did not open"
  key Up Return
  within "$DEADLINE" looks '<' 30 white $KEY_NAMES || fail "the settings screen did not close"
  [ "$twice" = 2 ] || key Return
done
# The last click went to OpenAL with that picture; give it a second to play out.
within "$DEADLINE" recorded "$(later "$(length)" 1)" || fail "the recording stopped"
close_game
expect_exit 0

music=$(audio rms "$capture" "$(later "$pressed" -2)" "$pressed")
click="$E2E_BIN_DIR/../share/sound/Button.wav"
before=$(audio match "$capture" "$click" "$(later "$pressed" -1.5)" "$pressed")
after=$(audio match "$capture" "$click" "$pressed" "$(length)")
echo "music rms $music; the click's likeness before the press $before, after it $after"
holds "$music" '>' 300 || fail "the menu music is silent"
holds "$after" '>' 0.5 || fail "no click after the key press"
holds "$after" '>' "$(awk -v b="$before" 'BEGIN { print 1.8 * b }')" || fail "the click does not stand out from the music"
echo ok
