#!/usr/bin/env bash
# Runs a command on a private Xvfb display (1024 × 768 × 24). The server picks a free display number
# itself (-displayfd) and says it once it accepts clients, so tests started at the same time never
# fight over one number or reach another test's server, as xvfb-run -a can.
set -u
# A command that exits with status 3 says its program never showed a window (fail_to_start in
# e2e_lib.sh): after its report it runs once more on a fresh server. That was seen once on a CI machine,
# with nothing at all on the display, and never reproduced here; a real fault fails both runs.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

run_on_fresh_server() {
    rm -f "$tmp/display" "$tmp/xvfb.log"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
    local server=$!
    for _ in $(seq 1 100); do
        [ -s "$tmp/display" ] && break
        kill -0 "$server" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$tmp/display" ]; then
        echo "Xvfb did not start:" >&2
        cat "$tmp/xvfb.log" >&2
        kill -9 "$server" 2>/dev/null
        return 1
    fi
    export DISPLAY=":$(tr -d '[:space:]' <"$tmp/display")"
    unset WAYLAND_DISPLAY
    "$@"
    local status=$?
    if [ "$status" != 0 ]; then
        kill -0 "$server" 2>/dev/null || echo "the X server of $DISPLAY had ended" >&2
        [ -s "$tmp/xvfb.log" ] && { echo "--- X server log:" >&2; tail -20 "$tmp/xvfb.log" >&2; }
    fi
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
    return $status
}

run_on_fresh_server "$@"
status=$?
if [ "$status" = 3 ]; then
    echo "(no window appeared: once more on a fresh X server)" >&2
    run_on_fresh_server "$@"
    status=$?
fi
exit $status
