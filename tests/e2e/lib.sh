# Shared helpers for the end-to-end scenarios. Each scenario runs the real game, sends real key
# presses and judges the pictures of the game's window. No verdict depends on how fast the game
# runs: a scenario waits for the state its keys cause (`within`), and the deadline only ever
# decides failure. Usage: source lib.sh BIN_DIR SHOT_DIR
set -euo pipefail
# An X display of its own and, inside, a network namespace of its own (the display starts
# outside: an X server in a namespace takes over the socket files of other displays).
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
# The game keeps its settings under $XDG_CONFIG_HOME: every scenario starts from the defaults and
# leaves the settings of whoever runs the tests alone.
export XDG_CONFIG_HOME=$E2E_TMP/config
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
# holds A OP B: the numbers compare so; OP is <, > or =.
holds() { awk -v a="$1" -v op="$2" -v b="$3" 'BEGIN { exit !(op == "<" ? a < b : op == ">" ? a > b : a == b) }'; }

# start_game [DIR [COMMAND...]]: starts COMMAND (default ./kirrow) in DIR (default: the build's
# bin/). printed and complained: what the game wrote to standard output and error.
start_game() {
  local command=("${@:2}")
  (cd "${1:-$E2E_BIN_DIR}" && exec "${command[@]:-./kirrow}" >"$E2E_TMP/out.$BASHPID" 2>"$E2E_TMP/err.$BASHPID") &
  GAME_PID=$!
  BACKGROUND+=("$GAME_PID")
}
printed() { cat "$E2E_TMP/out.$GAME_PID"; }
complained() { cat "$E2E_TMP/err.$GAME_PID"; }

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
# shot NAME: a screenshot of the game window; keep NAME: the last one under NAME. Both print the path.
shot() { import -window "$GAME_WID" "$E2E_SHOT_DIR/${E2E_NAME}_$1.png" && echo "$E2E_SHOT_DIR/${E2E_NAME}_$1.png"; }
keep() { cp "$LAST" "$E2E_SHOT_DIR/${E2E_NAME}_$1.png" && echo "$E2E_SHOT_DIR/${E2E_NAME}_$1.png"; }

# probe MEASURE FILE [FILE2] X Y W H [MIN]: a figure of a region of a screenshot, in window pixels:
#   mean   mean luminance (0-255)          white  near-white pixels, every channel >= 215 (texts)
#   count  pixels of luminance >= MIN      diff   mean difference per channel from FILE2 (0-255)
probe() {
  local measure=$1 images=("$2")
  [ "$measure" != diff ] || { images+=("$3"); shift; }
  local crop=(-crop "$5x$6+$3+$4" +repage) luma=(-grayscale Rec601Luma) number='%[fx:int(mean*w*h+0.5)]'
  case $measure in
    mean) convert "${images[@]}" "${crop[@]}" "${luma[@]}" -format '%[fx:int(255*mean+0.5)]' info: ;;
    white) convert "${images[@]}" "${crop[@]}" -separate -evaluate-sequence min -threshold 84.3% -format "$number" info: ;;
    count) convert "${images[@]}" "${crop[@]}" "${luma[@]}" -threshold "$((100 * $7 / 255))%" -format "$number" info: ;;
    diff) convert "${images[@]}" "${crop[@]}" -compose difference -composite -format '%[fx:255*mean]' info: ;;
  esac
}

# looks OP VALUE MEASURE [FILE2] REGION...: takes a screenshot (LAST) whose image_probe MEASURE
# (FIGURE) compares so with VALUE.
looks() {
  LAST=$(shot latest)
  FIGURE=$(probe "$3" "$LAST" "${@:4}")
  holds "$FIGURE" "$1" "$2"
}
# running: the mission moves: two screenshots in a row differ.
running() { looks '>' 0.5 diff "$(shot running)" 0 80 1280 880; }
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
