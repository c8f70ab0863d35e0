#!/usr/bin/env bash
# End-to-end cases of the render framework on its probe program (a frame of red | blue with a green
# square, presented until Escape), run under xvfb-run: framework_e2e.sh CASE PROBE OUTPUT_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
case_name=$1
probe=$2
out=$3/$case_name
mkdir -p "$out"
cd "$out" || exit 1
rm -f ./*.png ./*.txt
# shellcheck source=../../support/e2e_lib.sh
source "$here/../../support/e2e_lib.sh" || exit 1
export SDL_AUDIODRIVER=dummy

check_clean_end() {
    [ "$EXIT_STATUS" = 0 ] || { cat stdout.txt stderr.txt >&2; fail "exit status $EXIT_STATUS"; }
    grep -q '^release: 0x00000000$' stdout.txt || fail "the framework's objects were still referenced"
}

case $case_name in
dialog_then_window)
    "$probe" >stdout.txt 2>stderr.txt &
    PROGRAM_PID=$!
    dialog=$(wait_window Settings) || fail_to_start "no Settings dialog"
    [ "$(window_size "$dialog")" = 400x178 ] || fail "dialog size $(window_size "$dialog")"
    [ "$(count_windows Vireline)" = 1 ] || fail "the main window should exist (hidden) while the dialog runs"
    xdotool search --onlyvisible --name '^Vireline$' >/dev/null && fail "the main window is visible during the dialog"
    sleep 0.3
    screenshot "$dialog" dialog.png
    xdotool key --window "$dialog" Return
    main=$(wait_window Vireline) || fail "no main window after the dialog"
    [ "$(window_size "$main")" = 640x480 ] || fail "client area $(window_size "$main")"
    sleep 1
    screenshot "$main" window.png
    expect_pixel window.png 100 240 ff0000
    expect_pixel window.png 540 240 0000ff
    expect_pixel window.png 320 240 00ff00
    expect_pixel window.png 0 0 ff0000
    expect_pixel window.png 639 479 0000ff
    [ "$(count_windows Vireline)" = 1 ] || fail "a message box appeared"
    xdotool key --window "$main" Escape
    wait_exit
    check_clean_end
    grep -q '^device: .*, windowed, 640x480$' stdout.txt || fail "$(head -1 stdout.txt)"
    ;;
fullscreen_by_mouse)
    "$probe" --device software >stdout.txt 2>stderr.txt &
    PROGRAM_PID=$!
    dialog=$(wait_window Settings) || fail_to_start "no Settings dialog"
    sleep 0.5
    xdotool mousemove --window "$dialog" 32 135 click 1  # untick "windowed"
    sleep 0.3
    screenshot "$dialog" dialog_fullscreen.png
    xdotool mousemove --window "$dialog" 346 27 click 1  # OK
    main=$(wait_window Vireline) || fail "no main window after the dialog"
    sleep 1
    screenshot root screen.png
    w=$(identify -format '%w' screen.png)
    h=$(identify -format '%h' screen.png)
    expect_pixel screen.png 10 $((h / 2)) ff0000
    expect_pixel screen.png $((w - 10)) $((h / 2)) 0000ff
    expect_pixel screen.png $((w / 2)) $((h / 2)) 00ff00
    grep -q "full screen, ${w}x${h}\$" stdout.txt || fail "not full screen: $(head -1 stdout.txt)"
    xdotool key --window "$main" Escape
    wait_exit
    check_clean_end
    ;;
quit_signal)
    # SIGTERM arrives as the window's close request: the program ends through its normal shutdown.
    "$probe" --no-dialog >stdout.txt 2>stderr.txt &
    PROGRAM_PID=$!
    wait_window Vireline >/dev/null || fail_to_start "no main window"
    sleep 0.5
    kill -TERM "$PROGRAM_PID"
    wait_exit
    check_clean_end
    ;;
fullscreen_from_command_line | fullscreen_opengl)
    device=software
    [ "$case_name" = fullscreen_opengl ] && device=opengl
    "$probe" --device "$device" --fullscreen --no-dialog >stdout.txt 2>stderr.txt &
    PROGRAM_PID=$!
    main=$(wait_window Vireline) || fail_to_start "no main window"
    sleep 1
    [ "$(count_windows Vireline)" = 1 ] || fail "a message box appeared"
    screenshot root screen.png
    expect_pixel screen.png 10 10 ff0000
    expect_pixel screen.png 1013 757 0000ff
    grep -q 'full screen, 1024x768$' stdout.txt || fail "not full screen: $(head -1 stdout.txt)"
    if [ "$device" = opengl ]; then
        grep -q '^device: .*OpenGL' stdout.txt || fail "not the OpenGL device: $(head -1 stdout.txt)"
    fi
    xdotool key --window "$main" Escape
    wait_exit
    check_clean_end
    ;;
headless)
    # No display: the same program runs on the headless driver, shows nothing and ends on SIGTERM.
    env -u DISPLAY -u WAYLAND_DISPLAY "$probe" >stdout.txt 2>stderr.txt &
    PROGRAM_PID=$!
    sleep 1
    [ "$(count_windows Vireline)" = 0 ] || fail "a window appeared without a display"
    kill -TERM "$PROGRAM_PID"
    wait_exit
    check_clean_end
    grep -q '^device: Vireline software rasterizer, windowed, 640x480$' stdout.txt || fail "$(head -1 stdout.txt)"
    frames=$(sed -n 's/^frames: //p' stdout.txt)
    [ "${frames:-0}" -gt 1 ] || fail "only ${frames:-0} frames"
    ;;
*)
    fail "unknown case $case_name"
    ;;
esac
echo "ok: $case_name"
