# Shared helpers for the end-to-end scenarios. Each scenario runs the real game on an X display of
# its own, sends real key presses and judges the pictures of the game's window. No verdict depends
# on how fast the game runs: a scenario waits for the state its keys cause (`within`), and the
# deadline only ever decides failure. Usage: source lib.sh BIN_DIR SHOT_DIR
set -euo pipefail
# An X display of its own, and inside it a network namespace of its own (the display must start
# outside: an X server in a namespace takes the socket files of other servers' display numbers).
if [ -z "${KIRROW_E2E_DISPLAY:-}" ]; then
  KIRROW_E2E_DISPLAY=1 exec "$(dirname "${BASH_SOURCE[0]}")/../../scripts/with_display.sh" \
    "${E2E_SCREEN:-1300x1000x24}" sh "$(dirname "${BASH_SOURCE[0]}")/../private_network.sh" bash "$0" "$@"
fi
E2E_BIN_DIR=$(cd "$1" && pwd)
E2E_SHOT_DIR=$2
E2E_NAME=$(basename "$0" .sh)
E2E_TOOLS=${KIRROW_E2E_TOOLS:?the directory of the e2e tools}
E2E_TMP=$(mktemp -d)
DEADLINE=${KIRROW_E2E_DEADLINE:-180}
mkdir -p "$E2E_SHOT_DIR"
export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
GAME_PID= GAME_WID= LAST= FIGURE= BACKGROUND=()
# The menu's buttons (view 100,150 + 50 per row, 200x50) are at window x 200-600, y 300 + 100 per
# row; their left ends hold no caption, so buttons that look alike measure the same there.
PLAY="210 320 55 60" HOST="210 420 55 60" JOIN="210 520 55 60"

fail() {
  [ -z "$LAST" ] || cp "$LAST" "$E2E_SHOT_DIR/${E2E_NAME}_failed.png"
  echo "FAIL [$E2E_NAME]: $* (last figure: ${FIGURE:-none})" >&2
  exit 1
}
cleanup() {
  for pid in "${BACKGROUND[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$E2E_TMP"
}
trap cleanup EXIT

# within SECONDS COMMAND...: runs COMMAND until it succeeds; false once SECONDS have passed.
within() {
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < end)) || return 1
    sleep 0.1
  done
}

# start_game [DIR [LAUNCHER...]]: starts kirrow from DIR (default: the build's bin/), through
# LAUNCHER if given; its standard output is kept (see printed).
start_game() {
  (cd "${1:-$E2E_BIN_DIR}" && exec "${@:2}" ./kirrow >"$E2E_TMP/out.$BASHPID" 2>/dev/null) &
  GAME_PID=$!
  BACKGROUND+=("$GAME_PID")
}
printed() { cat "$E2E_TMP/out.$GAME_PID"; }

# wait_window [X [OTHER]]: waits for a game window other than OTHER (that of a game still running;
# a new game may get the id of an ended one's), moves it to (X, 0), as SFML places it partly below
# the screen's edge, and gives it the keyboard.
new_window() { GAME_WID=$(xdotool search --name "Kirrow - SFML" | grep -vx "$1" | head -n 1); }
wait_window() {
  within "$DEADLINE" new_window "${2:-none}" || fail "no window"
  xdotool windowmove --sync "$GAME_WID" "${1:-0}" 0 2>/dev/null || true
  focus "$GAME_WID"
}
focus() { xdotool windowfocus --sync "$1" 2>/dev/null || true; }
key() { xdotool key --delay 60 "$@"; }
close_game() { "$E2E_TOOLS/close_window" "$GAME_WID"; }
probe() { "$E2E_TOOLS/image_probe" "$@"; }
shot() { import -window "$GAME_WID" "$E2E_SHOT_DIR/${E2E_NAME}_$1.png" && echo "$E2E_SHOT_DIR/${E2E_NAME}_$1.png"; }

# looks OP VALUE MEASURE [FILE2] REGION...: takes a screenshot (LAST) and compares the figure
# image_probe MEASURE gives for it (FIGURE) with VALUE; OP is <, > or =.
looks() {
  LAST=$(shot latest)
  FIGURE=$(probe "$3" "$LAST" "${@:4}")
  awk -v a="$FIGURE" -v op="$1" -v b="$2" 'BEGIN { exit !(op == "<" ? a < b : op == ">" ? a > b : a == b) }'
}

# keep NAME: keeps the last screenshot under NAME, for comparisons; prints its path.
keep() { cp "$LAST" "$E2E_SHOT_DIR/${E2E_NAME}_$1.png" && echo "$E2E_SHOT_DIR/${E2E_NAME}_$1.png"; }

# running: the picture moves: two screenshots in a row differ (the second becomes LAST).
running() {
  local first
  first=$(shot running_a)
  LAST=$(shot running_b)
  FIGURE=$(probe diff "$first" "$LAST" 0 80 1280 880)
  awk -v a="$FIGURE" 'BEGIN { exit !(a > 0.5) }'
}

# menu_shown: the menu is up with Play selected: the buttons below look alike, Play does not.
menu_shown() {
  LAST=$(shot menu)
  FIGURE=$(probe mean "$LAST" $PLAY)
  [ "$(probe mean "$LAST" $HOST)" = "$(probe mean "$LAST" $JOIN)" ] && [ "$(probe mean "$LAST" $HOST)" != "$FIGURE" ]
}

# expect_exit STATUS: waits for the game to end with STATUS.
game_ended() { ! kill -0 "$GAME_PID" 2>/dev/null; }
expect_exit() {
  within "$DEADLINE" game_ended || fail "the game did not end"
  local status=0
  wait "$GAME_PID" || status=$?
  [ "$status" -eq "$1" ] || fail "exit status $status, expected $1"
}
