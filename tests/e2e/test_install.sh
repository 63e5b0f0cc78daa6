#!/usr/bin/env bash
# `cmake --install` into a temporary prefix: the binary, the data, a menu entry and an icon. The
# installed game starts from an unrelated directory, finds its data beside itself, and says in
# one line when it has no sound device, no display or no data.
source "$(dirname "$0")/lib.sh" "$@"

prefix=$E2E_TMP/prefix elsewhere=$E2E_TMP/elsewhere
mkdir "$elsewhere"
cmake --install "$E2E_BIN_DIR/.." --prefix "$prefix" >"$E2E_TMP/install.log" || fail "install failed"
[ -x "$prefix/bin/kirrow" ] || fail "no bin/kirrow"
[ -x "$prefix/bin/kirrow-server" ] || fail "no bin/kirrow-server"
# Every file of the build's share/, the same bytes.
diff -r "$E2E_BIN_DIR/../share" "$prefix/share/kirrow" >/dev/null || fail "share/kirrow is not the build's share/"
[ "$(identify -format %wx%h "$prefix/share/icons/hicolor/128x128/apps/kirrow.png")" = 128x128 ] || fail "no 128x128 icon"
entry="$prefix/share/applications/kirrow.desktop"
grep -qx "Exec=\"$prefix/bin/kirrow\"" "$entry" || fail "the menu entry does not start the installed binary"
grep -qx 'Icon=kirrow' "$entry" && grep -qx 'Type=Application' "$entry" || fail "the menu entry is incomplete"

# No sound device (ALSA, with no sound card here): one line, and the game plays on.
start_game "$elsewhere" env ALSOFT_DRIVERS=alsa "$prefix/bin/kirrow"
wait_window
within "$DEADLINE" looks '>' 30 mean 0 0 1280 960 || fail "the installed game draws no title screen"
close_game
expect_exit 0
[ -z "$(printed)" ] || fail "printed: $(printed)"
complained | grep -qx 'No audio device: playing without sound' || fail "no word about the missing sound device"
! complained | grep -q 'OpenAL\|AL lib\|ALSA' || fail "audio errors on the error stream: $(complained | head -5)"

# Data kept elsewhere is found through KIRROW_DATA; missing data is named in one line, status 1.
start_game "$elsewhere" env KIRROW_DATA="$elsewhere/nothing/" "$prefix/bin/kirrow"
expect_exit 1
[[ "$(printed)" == "unhandled exception: Failed to load resource $elsewhere/nothing/sound/"* && "$(printed | wc -l)" -eq 1 ]] ||
  fail "without data: $(printed)"

# No display: one line and status 1, where SFML would abort.
start_game "$elsewhere" env -u DISPLAY "$prefix/bin/kirrow"
expect_exit 1
[ "$(complained)" = 'Kirrow needs a graphical display: DISPLAY is not set (start it from a desktop session)' ] ||
  fail "without a display: $(complained)"
echo ok
