#!/usr/bin/env bash
# `cmake --install` into a temporary prefix: the binary, the data, a menu entry and an icon. The
# installed game starts from an unrelated directory, finds its data beside itself, and says in
# one line when it has no sound device, no display or no data.
source "$(dirname "$0")/lib.sh" "$@"

prefix=$(mktemp -d)
elsewhere=$(mktemp -d)
trap 'cleanup; rm -rf "$prefix" "$elsewhere"' EXIT
cmake --install "$E2E_BIN_DIR/.." --prefix "$prefix" >"$elsewhere/install.log" || fail "install failed"

[ -x "$prefix/bin/kirrow" ] || fail "no bin/kirrow"
data="$prefix/share/kirrow"
# Every file of the build's share/, the same bytes.
diff -r "$E2E_BIN_DIR/../share" "$data" >/dev/null || fail "share/kirrow is not the build's share/"
[ "$(picture_size "$prefix/share/icons/hicolor/128x128/apps/kirrow.png")" = 128x128 ] || fail "no 128x128 icon"
entry="$prefix/share/applications/kirrow.desktop"
grep -qx "Exec=\"$prefix/bin/kirrow\"" "$entry" || fail "the menu entry does not start the installed binary"
grep -qx 'Icon=kirrow' "$entry" && grep -qx 'Type=Application' "$entry" || fail "the menu entry is incomplete"

# run_installed [ENV...]: the installed game, started from an empty directory elsewhere.
run_installed() {
  E2E_OUT="$elsewhere/out" E2E_ERR="$elsewhere/err"
  (cd "$elsewhere" && exec env "$@" "$prefix/bin/kirrow" >"$E2E_OUT" 2>"$E2E_ERR") &
  GAME_PID=$!
}

# No sound device (ALSA, with no sound card here): one line, and the game plays on.
run_installed ALSOFT_DRIVERS=alsa
wait_window
sleep 1
title=$(shot title)
expect_gt "$(mean_brightness "$title")" 30 "the installed game draws no title screen"
close_game
wait_exit 10
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS"
[ ! -s "$E2E_OUT" ] || fail "unexpected output: $(cat "$E2E_OUT")"
grep -qx 'No audio device: playing without sound' "$E2E_ERR" || fail "no word about the missing sound device"
! grep -q 'OpenAL\|AL lib\|ALSA' "$E2E_ERR" || fail "audio errors on the error stream: $(head -5 "$E2E_ERR")"

# Data kept elsewhere is found through KIRROW_DATA, and named when it is not there.
run_installed KIRROW_DATA="$elsewhere/nothing/"
wait_exit 20
[ "$GAME_STATUS" -eq 1 ] || fail "exit status $GAME_STATUS without data"
case "$(cat "$E2E_OUT")" in
  "unhandled exception: Failed to load resource $elsewhere/nothing/sound/"*) ;;
  *) fail "without data: $(cat "$E2E_OUT")" ;;
esac

# No display: one line and status 1, where SFML would abort.
run_installed -u DISPLAY
wait_exit 20
[ "$GAME_STATUS" -eq 1 ] || fail "exit status $GAME_STATUS without a display"
[ "$(cat "$E2E_ERR")" = 'Kirrow needs a graphical display: DISPLAY is not set (start it from a desktop session)' ] ||
  fail "without a display: $(cat "$E2E_ERR")"
echo ok
