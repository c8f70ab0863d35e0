#!/usr/bin/env bash
# Runs a command on a private Xvfb display (1024 × 768 × 24). The server picks a free display number
# itself (-displayfd) and says it once it accepts clients, so tests started at the same time never
# fight over one number or reach another test's server, as xvfb-run -a can.
set -u
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
server=$!
for _ in $(seq 1 100); do
    [ -s "$tmp/display" ] && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.1
done
if [ ! -s "$tmp/display" ]; then
    echo "Xvfb did not start:" >&2
    cat "$tmp/xvfb.log" >&2
    kill -9 "$server" 2>/dev/null
    exit 1
fi
export DISPLAY=":$(tr -d '[:space:]' <"$tmp/display")"
export XVFB_PID=$server
unset WAYLAND_DISPLAY
"$@"
status=$?
if [ "$status" != 0 ]; then
    kill -0 "$server" 2>/dev/null || echo "the X server of $DISPLAY had ended" >&2
    [ -s "$tmp/xvfb.log" ] && { echo "--- X server log:" >&2; tail -20 "$tmp/xvfb.log" >&2; }
fi
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
exit $status
