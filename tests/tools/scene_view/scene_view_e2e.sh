#!/usr/bin/env bash
# End-to-end cases of vireline-scene-view's windowed path, run under xvfb-run as a person would use it:
# scene_view_e2e.sh CASE VIEWER SCENE OUTPUT_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
case_name=$1
viewer=$2
scene=$3
out=$4/$case_name
mkdir -p "$out"
cd "$out" || exit 1
rm -f ./*.png ./*.txt
# shellcheck source=../../support/e2e_lib.sh
source "$here/../../support/e2e_lib.sh" || exit 1
export SDL_AUDIODRIVER=dummy

case $case_name in
window_matches_headless)
    # The same frame rendered headless (the scene is static, so every frame of the loop is this one).
    "$viewer" "$scene" --out headless.png >headless_stdout.txt 2>headless_stderr.txt ||
        fail "the headless render failed: $(cat headless_stderr.txt)"
    "$viewer" "$scene" >stdout.txt 2>stderr.txt &
    PROGRAM_PID=$!
    dialog=$(wait_window Settings) || fail_to_start "no Settings dialog"
    sleep 0.3
    screenshot "$dialog" dialog.png
    xdotool key --window "$dialog" Return
    main=$(wait_window Vireline) || fail "no window after the dialog"
    [ "$(window_size "$main")" = 640x480 ] || fail "client area $(window_size "$main")"
    sleep 1.5
    [ "$(count_windows Vireline)" = 1 ] || fail "a message box appeared"
    screenshot "$main" window.png
    differing=$(compare -metric AE -fuzz 4% window.png headless.png diff.png 2>&1 >/dev/null)
    echo "pixels differing from the headless render: $differing"
    [ "${differing%%.*}" -le 3072 ] 2>/dev/null || fail "the window differs from the headless render in $differing pixels"
    lit=$(convert window.png -fuzz 2% -fill black -opaque black -format '%[fx:mean>0.002]' info:)
    [ "$lit" = 1 ] || fail "the window shows nothing but black"
    xdotool key --window "$main" Escape
    wait_exit
    [ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS: $(cat stderr.txt)"
    grep -q "non-zero reference" stderr.txt && fail "objects were still referenced at the end"
    ;;
no_display)
    env -u DISPLAY -u WAYLAND_DISPLAY "$viewer" "$scene" >stdout.txt 2>stderr.txt &
    PROGRAM_PID=$!
    wait_exit 100
    [ "$EXIT_STATUS" = 2 ] || fail "exit status $EXIT_STATUS, expected 2"
    grep -q "needs a display, or --out FRAME.png" stderr.txt || fail "unclear message: $(cat stderr.txt)"
    [ "$(wc -l <stderr.txt)" = 1 ] || fail "more than one line: $(cat stderr.txt)"
    ;;
*)
    fail "unknown case $case_name"
    ;;
esac
echo "ok: $case_name"
