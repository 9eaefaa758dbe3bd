#!/usr/bin/env bash
# Runs accessibility_check.py against ombrisa-a11y-screens with everything a screen reader has on a
# desktop: an X display (xvfb-run), a D-Bus session bus of its own and the accessibility bus
# (at-spi-bus-launcher, which starts the registry). Works as root and on a machine without a desktop.
# Usage: run_accessibility_check.sh <ombrisa-a11y-screens> <accessibility_check.py>
set -euo pipefail
program=$1
check=$2
if [ -z "${OMBRISA_A11Y_INNER:-}" ]; then
    export OMBRISA_A11Y_INNER=1
    # Other tests start X servers at the same time, and on a loaded machine the display is now and then gone
    # before the program connects: look for a display at a number of this run's own, and when the run fails,
    # give it a second, new display once (a real fault fails both times).
    for attempt in 1 2; do
        if xvfb-run -a -n $((200 + ($$ + attempt * 97) % 700)) -s "-screen 0 1366x768x24" \
            dbus-run-session -- "$0" "$@"; then
            exit 0
        fi
        [ "$attempt" = 1 ] && echo "accessibility check: failed once, once more on a new display" >&2
    done
    exit 1
fi
launcher=/usr/libexec/at-spi-bus-launcher
[ -x "$launcher" ] || launcher=/usr/lib/at-spi2-core/at-spi-bus-launcher
"$launcher" --launch-immediately &
launcher_pid=$!
trap 'kill "$launcher_pid" 2>/dev/null || true' EXIT
# The accessibility bus is ready once the launcher answers with its address.
for _ in $(seq 50); do
    if dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1; then
        break
    fi
    sleep 0.2
done
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
/usr/bin/python3 -u "$check" "$program"
