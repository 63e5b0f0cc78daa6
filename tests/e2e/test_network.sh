#!/usr/bin/env bash
# A network mission on one display: a host, in a network namespace of its own, and a joiner,
# whose connection to it passes a relay that holds back the server's enemy spawns and its word
# that the mission is complete: however slowly the games run, the joiner's aircraft is flying
# when the host quits. The joiner shows the lost connection and then the menu; both end with 0.
E2E_SCREEN=2600x1000x24
source "$(dirname "$0")/lib.sh" "$@"

SPAWN_ENEMY=8 MISSION_COMPLETE=11
FIELD="0 600 1280 360"          # below the middle: the field, or black while not connected
LOST_TEXT="200 360 880 140"     # the lost-connection text, centred above the middle

# The joiner plays from a directory of its own, whose ip.txt names this machine.
mkdir "$E2E_TMP/bin"
ln -s "$E2E_BIN_DIR/kirrow" "$E2E_TMP/bin/kirrow"
ln -s "$E2E_BIN_DIR/../share" "$E2E_TMP/share"
echo 127.0.0.1 > "$E2E_TMP/bin/ip.txt"

# The joiner waits in the menu on Join, the host in its own namespace in the menu on Host.
start_game "$E2E_TMP/bin"
wait_window 1300
joiner_pid=$GAME_PID joiner_wid=$GAME_WID
key space
within "$DEADLINE" menu_shown || fail "the joiner shows no menu"
play=$FIGURE
key Down Down
start_game "$E2E_BIN_DIR" unshare -n sh -c 'ip link set lo up && exec ./kirrow'
wait_window 0 "$joiner_wid"
host_pid=$GAME_PID host_wid=$GAME_WID
"$E2E_TOOLS/relay" "$host_pid" $SPAWN_ENEMY $MISSION_COMPLETE &
BACKGROUND+=($!)
key space Down Return
# Port 5000 (hex 1388) listening on every address.
within "$DEADLINE" grep -q ': 00000000:1388 00000000:0000 0A' "/proc/$host_pid/net/tcp" || fail "the host's server does not listen"

GAME_PID=$joiner_pid GAME_WID=$joiner_wid
focus "$GAME_WID"
key Return
within "$DEADLINE" looks '>' 20 mean $FIELD || fail "the joiner shows no playing field"

GAME_PID=$host_pid GAME_WID=$host_wid
close_game
expect_exit 0
GAME_PID=$joiner_pid GAME_WID=$joiner_wid
lost() { looks '>' 300 white $LOST_TEXT && [ "$(probe mean "$LAST" $FIELD)" -lt 5 ]; }
within "$DEADLINE" lost || fail "the joiner never showed the lost connection"
within "$DEADLINE" looks = "$play" mean $PLAY || fail "the joiner did not return to the menu"
close_game
expect_exit 0
echo ok
