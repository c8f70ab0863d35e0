#!/usr/bin/env bash
# The demo as a person plays it, in a real X11 window under Xvfb with SDL's dummy audio:
#   demo_e2e.sh PROGRAM DATA_DIR OUTPUT_DIR
# The Settings dialog opens (with the OpenGL device chosen where an OpenGL context can be made), Return
# confirms it, the 640 × 480 window shows the first part and its frames change, and Escape ends the
# program with status 0 and no message box.
set -u
here=$(cd "$(dirname "$0")" && pwd)
program=$1
data=$2
out=$3
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.txt
# shellcheck source=../../support/e2e_lib.sh
source "$here/../../support/e2e_lib.sh" || exit 1
export SDL_AUDIODRIVER=dummy
cd "$data" || exit 1

"$program" >"$out/stdout.txt" 2>"$out/stderr.txt" &
PROGRAM_PID=$!
cd "$out" || exit 1
dialog=$(wait_window Settings) || fail_to_start "no Settings dialog"
sleep 0.5
screenshot "$dialog" dialog.png
xdotool key --window "$dialog" Return
main=$(wait_window Vireline) || fail "no demo window after the dialog"
[ "$(window_size "$main")" = 640x480 ] || fail "window size $(window_size "$main")"
# The first part fades in from black: wait for a lit frame, then for one that differs from it.
bright=0
for _ in $(seq 1 40); do
    sleep 0.5
    screenshot "$main" first.png
    bright=$(convert first.png -colorspace Gray -format '%[fx:mean*255]' info:)
    awk "BEGIN { exit !($bright > 2) }" && break
done
awk "BEGIN { exit !($bright > 2) }" || fail "the first part shows a black window (mean $bright)"
changed=0
for _ in $(seq 1 20); do
    sleep 0.5
    screenshot "$main" second.png
    changed=$(compare -metric AE first.png second.png null: 2>&1)
    changed=${changed%% *}
    [ "${changed%.*}" -gt 1000 ] 2>/dev/null && break
done
[ "${changed%.*}" -gt 1000 ] 2>/dev/null || fail "the frames did not change ($changed pixels differ)"
grep -q '^\[' stderr.txt && fail "a message box was shown: $(grep '^\[' stderr.txt | head -1)"
[ "$(count_windows Vireline)" = 1 ] || fail "a message box appeared"
xdotool key --window "$main" Escape
wait_exit 150
[ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS"
echo "the demo played in its window and ended on Escape"
