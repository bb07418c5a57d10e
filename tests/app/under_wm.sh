#!/bin/sh
# Runs a test program on an X display of each given size with a real window manager (openbox
# in Xvfb). Exits 77 (skipped), saying why, where xvfb-run, openbox or xprop is missing.
# usage: under_wm.sh program WIDTHxHEIGHT...
program=$1
shift
for tool in xvfb-run openbox xprop; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIPPED: $tool is not installed (scripts/setup installs it)"
        exit 77
    fi
done
for size in "$@"; do
    echo "== screen $size"
    xvfb-run -a -s "-screen 0 ${size}x24" sh -c '
        openbox >/dev/null 2>&1 &
        wm=$!
        # The program must meet the window manager: wait until it has taken the screen.
        for i in $(seq 100); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
            sleep 0.1
        done
        sleep 0.5
        "$0"
        status=$?
        kill $wm
        exit $status' "$program" || exit 1
done
