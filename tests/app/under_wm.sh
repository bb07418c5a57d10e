#!/bin/sh
# Runs a test program on an X display of each given size with a real window manager (openbox
# in Xvfb). Exits 77 (skipped), saying why, where Xvfb, openbox or xprop is missing.
# usage: under_wm.sh program WIDTHxHEIGHT...
program=$1
shift
for tool in Xvfb openbox xprop; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIPPED: $tool is not installed (scripts/setup installs it)"
        exit 77
    fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in "$@"; do
    echo "== screen $size"
    # Xvfb picks a free display itself and names it: tests run side by side never share one.
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb=$!
    for i in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    if [ ! -s "$work/display" ]; then
        cat "$work/xvfb.log"
        kill $xvfb 2>/dev/null
        exit 1
    fi
    DISPLAY=:$(cat "$work/display")
    export DISPLAY
    # The program must meet the window manager: wait until it has taken the screen.
    managed=no
    for attempt in 1 2 3; do
        openbox >"$work/openbox.log" 2>&1 &
        wm=$!
        for i in $(seq 100); do
            if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" &&
                kill -0 $wm 2>/dev/null; then
                managed=yes
                break
            fi
            kill -0 $wm 2>/dev/null || break
            sleep 0.1
        done
        [ $managed = yes ] && break
        echo "openbox did not start (attempt $attempt):"
        cat "$work/openbox.log"
        kill $wm 2>/dev/null
    done
    sleep 0.5
    "$program"
    status=$?
    kill $wm $xvfb 2>/dev/null
    wait $wm $xvfb 2>/dev/null
    rm -f "$work/display"
    [ $status -eq 0 ] || exit 1
done
