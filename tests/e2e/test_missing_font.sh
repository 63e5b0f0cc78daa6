#!/usr/bin/env bash
# Without its font the game reports one line on standard output and fails with status 1.
source "$(dirname "$0")/lib.sh" "$@"

root=$(mktemp -d)
trap 'cleanup; rm -rf "$root"' EXIT
mkdir -p "$root/bin" "$root/share"
cp "$E2E_BIN_DIR/kirrow" "$root/bin/"
for entry in "$E2E_BIN_DIR"/../share/*; do
  [ "$(basename "$entry")" = font.ttf ] || ln -s "$entry" "$root/share/"
done

start_game "$root/bin"
wait_exit 20
[ "$GAME_STATUS" -eq 1 ] || fail "exit status $GAME_STATUS, expected 1"
expected="unhandled exception: Failed to load resource ../share/font.ttf"
[ "$(cat "$E2E_OUT")" = "$expected" ] || fail "standard output was: $(cat "$E2E_OUT")"
[ "$(wc -l <"$E2E_OUT")" -eq 1 ] || fail "expected exactly one line"
echo "ok"
