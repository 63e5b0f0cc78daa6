#!/usr/bin/env bash
# A dedicated server, headless in a network namespace of its own, and two games that join it at
# the address "127.0.0.1:5000" from their ip.txt. Each game reaches it through a relay that holds
# back the enemy spawns, so no aircraft can be shot down however slowly the games run. A second
# server finds the port taken; one game flies right and the other sees it there; the other leaves;
# SIGTERM stops the server with status 0, closing the remaining game's connection.
E2E_SCREEN=2600x1000x24
source "$(dirname "$0")/lib.sh" "$@"

SPAWN_ENEMY=8
FIELD="0 600 1280 360"          # below the middle: the field, or black while not connected
RIGHT_EDGE="1100 300 180 500"   # read-outs of an aircraft at the right edge

mkdir "$E2E_TMP/bin"
ln -s "$E2E_BIN_DIR/kirrow" "$E2E_TMP/bin/kirrow"
ln -s "$E2E_BIN_DIR/../share" "$E2E_TMP/share"
echo 127.0.0.1:5000 > "$E2E_TMP/bin/ip.txt"

start_game "$E2E_BIN_DIR" unshare -n sh -c 'ip link set lo up && exec ./kirrow-server'
server_pid=$GAME_PID
log() { cat "$E2E_TMP/out.$server_pid"; }
joined() { [ "$(log | grep -c '^Player joined from 127.0.0.1')" -ge "$1" ]; }
within "$DEADLINE" grep -qx 'Kirrow server listening on port 5000' "$E2E_TMP/out.$server_pid" ||
  fail "the server does not say it listens"

# relay: the next game's way in, listening here on 5000 until a game connects.
relay_listens() { grep -q ': 0100007F:1388 00000000:0000 0A' /proc/net/tcp; }
relay() {
  "$E2E_TOOLS/relay" "$server_pid" $SPAWN_ENEMY &
  BACKGROUND+=($!)
  within "$DEADLINE" relay_listens || fail "the relay does not listen"
}
relay
relay_pid=${BACKGROUND[-1]}
status=0
taken=$("$E2E_BIN_DIR/kirrow-server" 2>&1) || status=$?
[ "$status" -eq 1 ] && [ "$taken" = "kirrow-server: Port 5000 is in use" ] ||
  fail "a second server on a taken port said '$taken' and ended with $status"

# menu X OTHER_WID: a game in the menu with Join chosen.
menu() {
  start_game "$E2E_TMP/bin"
  wait_window "$1" "$2"
  key space
  within "$DEADLINE" menu_shown || fail "no menu"
  key Down Down
}
# join N: the game joins, the N-th player the server reports.
join() {
  focus "$GAME_WID"
  key Return
  within "$DEADLINE" looks '>' 20 mean $FIELD || fail "no playing field"
  within "$DEADLINE" joined "$1" || fail "the server did not report player $1"
}
# Both wait in the menu, so that little of the mission has passed when the second joins.
menu 0 none
first_pid=$GAME_PID first_wid=$GAME_WID
menu 1300 "$first_wid"
second_pid=$GAME_PID second_wid=$GAME_WID
GAME_PID=$first_pid GAME_WID=$first_wid
join 1
relay
GAME_PID=$second_pid GAME_WID=$second_wid
join 2

GAME_PID=$first_pid GAME_WID=$first_wid
focus "$GAME_WID"
xdotool keydown d
within "$DEADLINE" looks '>' 100 white $RIGHT_EDGE || fail "the first game's aircraft does not fly right"
xdotool keyup d
GAME_PID=$second_pid GAME_WID=$second_wid
within "$DEADLINE" looks '>' 100 white $RIGHT_EDGE || fail "the second game does not show the first's aircraft"
close_game
expect_exit 0
within "$DEADLINE" grep -q '^Player from 127.0.0.1 .*(aircraft 2); 1 connected$' "$E2E_TMP/out.$server_pid" ||
  fail "the server did not report the second player leaving"

# Stopped, the server closes the first game's connection: its relay ends.
GAME_PID=$server_pid
kill -TERM "$server_pid"
expect_exit 0
[ "$(log | tail -n 1)" = Stopped ] || fail "the server did not say it stopped"
relay_ended() { ! kill -0 "$relay_pid" 2>/dev/null; }
within "$DEADLINE" relay_ended || fail "the server left the first game's connection open"
GAME_PID=$first_pid GAME_WID=$first_wid
close_game
expect_exit 0
echo ok
