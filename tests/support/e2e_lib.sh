# Helpers for the end-to-end tests that run a program in a real X11 window under Xvfb and drive it as a
# person would, with xdotool. Sourced by the test scripts; every helper fails the test with a message.

fail() {
    echo "FAIL: $*" >&2
    echo "windows on the display $DISPLAY:" >&2
    xwininfo -root -children 2>/dev/null | grep '"' >&2
    if [ -n "${PROGRAM_PID:-}" ] && ! kill -0 "$PROGRAM_PID" 2>/dev/null; then
        wait "$PROGRAM_PID"
        echo "the program had ended with status $?" >&2
    fi
    for f in stdout.txt stderr.txt; do
        [ -s "$f" ] && { echo "--- $f:" >&2; tail -20 "$f" >&2; }
    done
    [ -n "${PROGRAM_PID:-}" ] && kill -9 "$PROGRAM_PID" 2>/dev/null
    exit "${FAIL_STATUS:-1}"
}

# The program's first window never showed: fails with status 3, which with_xvfb.sh runs once more.
fail_to_start() {
    FAIL_STATUS=3 fail "$@"
}

# Waits (up to $2 tenths of a second, default 100) for a visible top-level window titled exactly $1 and
# prints its id.
wait_window() {
    local title=$1 tries=${2:-200} id=""
    for _ in $(seq 1 "$tries"); do
        id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# The size of a window as "WIDTHxHEIGHT".
window_size() {
    xwininfo -id "$1" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}'
}

# The number of top-level windows titled exactly $1 (a message box carries the program's title too).
count_windows() {
    xwininfo -root -children 2>/dev/null | grep -c "\"$1\":" || true
}

# Writes a window (or the whole screen for "root") as PNG.
screenshot() {
    if [ "$1" = root ]; then
        xwd -root -silent | convert xwd:- "$2"
    else
        xwd -id "$1" -silent | convert xwd:- "$2"
    fi
}

# The colour of one pixel of a PNG as rrggbb.
pixel() {
    convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | tail -1 | sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' |
        tr 'A-F' 'a-f'
}

expect_pixel() {
    local got
    got=$(pixel "$1" "$2" "$3")
    [ "$got" = "$4" ] || fail "pixel ($2, $3) of $1 is $got, expected $4"
}

# Waits for the program to end (up to $1 tenths of a second) and sets EXIT_STATUS.
wait_exit() {
    local tries=${1:-100}
    for _ in $(seq 1 "$tries"); do
        kill -0 "$PROGRAM_PID" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$PROGRAM_PID" 2>/dev/null; then
        kill -9 "$PROGRAM_PID" 2>/dev/null
        wait "$PROGRAM_PID" 2>/dev/null
        fail "the program did not end"
    fi
    wait "$PROGRAM_PID"
    EXIT_STATUS=$?
    PROGRAM_PID=
}
