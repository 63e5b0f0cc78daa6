# Shared helpers for the end-to-end scenarios: each scenario runs the real binary on an X
# display of its own, sends real key presses and judges what the window shows.
# Usage in a scenario: source lib.sh "$@"  (arguments: BIN_DIR SHOT_DIR)

set -euo pipefail

E2E_BIN_DIR=$(cd "$1" && pwd)
E2E_SHOT_DIR=$2
E2E_NAME=$(basename "$0" .sh)
mkdir -p "$E2E_SHOT_DIR"

# A private display: no other test's window can cover ours or steal the focus.
if [ -z "${KIRROW_E2E_DISPLAY:-}" ]; then
  KIRROW_E2E_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1600x1200x24 -noreset" bash "$0" "$@"
fi

export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
# The game keeps its settings under $XDG_CONFIG_HOME: every scenario starts from the defaults and
# leaves the settings of whoever runs the tests alone.
E2E_CONFIG=$(mktemp -d)
export XDG_CONFIG_HOME=$E2E_CONFIG
GAME_PID=
GAME_WID=

fail() {
  echo "FAIL [$E2E_NAME]: $*" >&2
  exit 1
}

cleanup() {
  if [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null; then kill "$GAME_PID" 2>/dev/null || true; fi
  rm -rf "$E2E_CONFIG"
}
trap cleanup EXIT

# start_game [DIR]: runs kirrow from DIR (default: the build's bin/), output to $E2E_OUT.
start_game() {
  local dir=${1:-$E2E_BIN_DIR}
  E2E_OUT=$(mktemp)
  (cd "$dir" && exec ./kirrow >"$E2E_OUT" 2>/dev/null) &
  GAME_PID=$!
}

# wait_window: waits up to 10 s for the game window and focuses it.
wait_window() {
  GAME_WID=$(timeout 10 xdotool search --sync --name "Kirrow - SFML" | head -n 1) || fail "no window"
  # SFML places the window partly below this screen's bottom edge; pull it fully into view.
  xdotool windowmove --sync "$GAME_WID" 0 0 2>/dev/null || true
  xdotool windowfocus --sync "$GAME_WID" 2>/dev/null || true
}

# shot NAME: screenshot of the game window into the shot directory; prints the path.
shot() {
  local file="$E2E_SHOT_DIR/${E2E_NAME}_$1.png"
  import -window "$GAME_WID" "$file"
  echo "$file"
}

# mean_brightness FILE [GEOMETRY]: mean grey level (0-255) of a picture or a region (WxH+X+Y).
mean_brightness() {
  local crop=()
  [ -n "${2:-}" ] && crop=(-crop "$2" +repage)
  convert "$1" "${crop[@]}" -colorspace Gray -format '%[fx:int(255*mean+0.5)]' info:
}

# picture_size FILE: WxH
picture_size() { identify -format '%wx%h' "$1"; }

# close_game: the window's close button.
close_game() { "${KIRROW_E2E_TOOLS:?}/close_window" "$GAME_WID"; }

# grab NAME: a fast screenshot (X window dump) for timed sequences; `developed` turns it into
# the PNG path once the timing no longer matters.
grab() { xwd -silent -id "$GAME_WID" -out "$E2E_SHOT_DIR/${E2E_NAME}_$1.xwd"; }
developed() {
  local raw="$E2E_SHOT_DIR/${E2E_NAME}_$1.xwd" file="$E2E_SHOT_DIR/${E2E_NAME}_$1.png"
  if [ -f "$raw" ]; then convert "xwd:$raw" "$file" && rm -f "$raw"; fi
  echo "$file"
}

# probe ARGS...: the screenshot measuring tool (see tools/image_probe.cpp).
probe() { "${KIRROW_E2E_TOOLS:?}/image_probe" "$@"; }

# key NAME...: presses and releases keys in the game window.
key() {
  for k in "$@"; do
    xdotool key --delay 60 "$k"
  done
}

# hold NAME SECONDS: holds a key down for a while.
hold() {
  xdotool keydown "$1"
  sleep "$2"
  xdotool keyup "$1"
}

# expect_gt A B MESSAGE / expect_lt A B MESSAGE: numeric checks (decimals allowed).
expect_gt() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }' || fail "$3 ($1 is not above $2)"; }
expect_lt() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }' || fail "$3 ($1 is not below $2)"; }

# aircraft_at FILE: "X Y N" of the player's white read-outs, which ride below the aircraft in
# a band below the start position (enemies and their read-outs come from the top, later).
aircraft_at() { probe centroid "$1" 0 520 1280 200; }

# shots_above FILE: bright pixels in a column straight above the aircraft in one screenshot:
# where its shots fly.
shots_above() {
  local file=$1 x y
  read -r x y _ < <(aircraft_at "$file")
  probe count "$file" $((x - 30)) 80 60 $((y - 220)) 200
}

# wait_exit SECONDS: waits for the game to end; sets GAME_STATUS. Fails when it does not end.
wait_exit() {
  local limit=$(( $1 * 10 ))
  for ((i = 0; i < limit; i++)); do
    if ! kill -0 "$GAME_PID" 2>/dev/null; then
      set +e
      wait "$GAME_PID"
      GAME_STATUS=$?
      set -e
      GAME_PID=
      return 0
    fi
    sleep 0.1
  done
  fail "the game did not end within $1 s"
}
