#!/usr/bin/env bash
# A dedicated server, headless in a network namespace of its own; a second one finds the port
# taken. Two games join it at "127.0.0.1:5000" from their ip.txt, each through a relay that holds
# back the enemy spawns (no aircraft can be shot down), after an anchor: a client that reports no
# aircraft, so that its own stays below the top and the mission cannot end, however slowly the
# games run. The second game sees the first's aircraft fly right, then leaves; SIGTERM stops the
# server with status 0, closing the first game's connection.
E2E_SCREEN=2600x1000x24
source "$(dirname "$0")/lib.sh" "$@"

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
# The anchor says an empty AircraftStatus (type 4) twice a second, well within the 3 s the server
# allows a silent peer, and reads whatever it is sent.
anchor='exec 3<>/dev/tcp/127.0.0.1/5000; cat <&3 >/dev/null & while printf "\0\0\0\10\0\0\0\4\0\0\0\0" >&3; do sleep 0.5; done'
nsenter --net="/proc/$server_pid/ns/net" bash -c "$anchor" &
BACKGROUND+=($!)
within "$DEADLINE" joined 1 || fail "the anchor did not join"

# relay: the next game's way in, listening here on 5000 until a game connects.
relay_listens() { grep -q ': 0100007F:1388 00000000:0000 0A' /proc/net/tcp; }
relay() {
  "$E2E_TOOLS/relay" "$server_pid" 8 &  # all but SpawnEnemy
  BACKGROUND+=($!)
  within "$DEADLINE" relay_listens || fail "the relay does not listen"
}
relay
relay_pid=${BACKGROUND[-1]}
status=0
taken=$("$E2E_BIN_DIR/kirrow-server" 2>&1) || status=$?
[ "$status" -eq 1 ] && [ "$taken" = "kirrow-server: Port 5000 is in use" ] ||
  fail "a second server on a taken port said '$taken' and ended with $status"

# join N X OTHER_WID: a game joins from its menu, the N-th player the server reports.
join() {
  start_game "$E2E_TMP/bin"
  wait_window "$2" "$3"
  key space
  within "$DEADLINE" menu_shown || fail "no menu"
  key Down Down Return
  within "$DEADLINE" joined "$1" || fail "the server did not report player $1"
}
join 2 0 none
first_pid=$GAME_PID first_wid=$GAME_WID
relay
join 3 1300 "$first_wid"

# The first game's aircraft flies right until the second game shows it at the edge.
focus "$first_wid"
xdotool keydown d
within "$DEADLINE" looks '>' 100 white $RIGHT_EDGE || fail "the second game does not show the first's aircraft at the edge"
xdotool keyup d
close_game
expect_exit 0
within "$DEADLINE" grep -q '^Player from 127.0.0.1 .*(aircraft 3); 2 connected$' "$E2E_TMP/out.$server_pid" ||
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
