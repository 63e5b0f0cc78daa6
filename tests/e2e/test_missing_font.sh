#!/usr/bin/env bash
# Without its font the game reports one line on standard output and fails with status 1.
source "$(dirname "$0")/lib.sh" "$@"

mkdir -p "$E2E_TMP/game/bin" "$E2E_TMP/game/share"
cp "$E2E_BIN_DIR/kirrow" "$E2E_TMP/game/bin/"
for entry in "$E2E_BIN_DIR"/../share/*; do
  [ "$(basename "$entry")" = font.ttf ] || ln -s "$entry" "$E2E_TMP/game/share/"
done
start_game "$E2E_TMP/game/bin"
expect_exit 1
[ "$(printed)" = "unhandled exception: Failed to load resource ../share/font.ttf" ] || fail "printed: $(printed)"
[ "$(printed | wc -l)" -eq 1 ] || fail "expected exactly one line"
echo ok
