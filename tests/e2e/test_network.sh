#!/usr/bin/env bash
# A network mission on one display: a host and a joiner (ip.txt holding 127.0.0.1). The joiner
# sees both aircraft; when the host quits, it shows the lost connection and then the menu.
source "$(dirname "$0")/lib.sh" "$@"

PLAY="210 320 55 60"           # left end of the Play button, clear of caption and corners
BAND="0 400 1280 400"          # where the aircraft and their read-outs are at the start
LOST_TEXT="200 360 880 140"    # the lost-connection text, centred above the middle
BELOW="0 600 1280 360"         # black below that text while not connected

# The joiner runs from a directory of its own, beside a share/ that is the build's.
joiner_root=$(mktemp -d)
mkdir "$joiner_root/bin"
ln -s "$E2E_BIN_DIR/kirrow" "$joiner_root/bin/kirrow"
ln -s "$(cd "$E2E_BIN_DIR/../share" && pwd)" "$joiner_root/share"
echo 127.0.0.1 > "$joiner_root/bin/ip.txt"
JOINER_PID=
stop_all() {
  cleanup
  [ -n "$JOINER_PID" ] && kill "$JOINER_PID" 2>/dev/null
  rm -rf "$joiner_root"
}
trap stop_all EXIT

# The host: title, menu, Host. Its aircraft flies to the left so the joiner's, which appears at
# the same spot, stands apart.
start_game
wait_window
HOST_PID=$GAME_PID HOST_WID=$GAME_WID
sleep 0.5
key space
sleep 0.4
key Down Return
sleep 2
hold a 0.8

# The joiner: title, menu, Join.
start_game "$joiner_root/bin"
JOINER_PID=$GAME_PID
GAME_WID=$(timeout 10 bash -c "until xdotool search --name 'Kirrow - SFML' | grep -vx '$HOST_WID'; do sleep 0.2; done" | head -n 1) ||
  fail "no joiner window"
xdotool windowmove --sync "$GAME_WID" 0 0 2>/dev/null || true
xdotool windowraise "$GAME_WID" windowfocus --sync "$GAME_WID" 2>/dev/null || true
sleep 0.5
key space
sleep 0.4
menu_play=$(probe mean "$(shot joiner_menu)" $PLAY)
key Down Down Return
sleep 2.5
together=$(shot joiner_mission)
[ "$(probe clusters "$together" $BAND)" -ge 2 ] || fail "the joiner does not show two aircraft"
expect_gt "$(probe mean "$together" $BELOW)" 20 "the joiner shows no playing field"

# The host quits; the joiner notices within its timeout, then returns to the menu.
"${KIRROW_E2E_TOOLS:?}/close_window" "$HOST_WID"
GAME_PID=$HOST_PID
wait_exit 10
[ "$GAME_STATUS" -eq 0 ] || fail "host exit status $GAME_STATUS"
GAME_PID=$JOINER_PID
lost=
for i in $(seq 1 40); do
  sleep 0.25
  file=$(shot "joiner_lost_$i")
  if [ "$(probe white "$file" $LOST_TEXT)" -gt 300 ] && [ "$(probe mean "$file" $BELOW)" -lt 5 ]; then
    lost=$file
    break
  fi
  rm -f "$file"
done
[ -n "$lost" ] || fail "the joiner never showed the lost connection"
back=
for i in $(seq 1 40); do
  sleep 0.25
  file=$(shot "joiner_after_$i")
  if [ "$(probe mean "$file" $PLAY)" = "$menu_play" ]; then back=$file; break; fi
  rm -f "$file"
done
[ -n "$back" ] || fail "the joiner did not return to the menu"
close_game
wait_exit 10
JOINER_PID=
[ "$GAME_STATUS" -eq 0 ] || fail "joiner exit status $GAME_STATUS"
echo ok
