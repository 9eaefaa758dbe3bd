#!/usr/bin/env bash
# What the Orca screen reader says on the client card for Tab through its first section (not in CI:
# needs the Debian packages orca and speech-dispatcher). Runs Orca with its debug log under Xvfb, in a
# D-Bus session with the accessibility bus of its own, shows the screens with ombrisa-a11y-screens and
# presses Tab as real X key events (a synthetic Qt key event carries no key name and Orca drops it).
# Prints Orca's speech lines.
# Usage: scripts/orca_check.sh [build folder]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
if [ -z "${OMBRISA_ORCA_INNER:-}" ]; then
    export OMBRISA_ORCA_INNER=1
    exec xvfb-run -a -s "-screen 0 1366x768x24" dbus-run-session -- "$0" "$build"
fi
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
/usr/libexec/at-spi-bus-launcher --launch-immediately &
sleep 2
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb HOME=$work
orca --replace --debug-file="$work/orca-debug.out" >"$work/orca.log" 2>&1 &
sleep 6
mkfifo "$work/orders"
"$build/bin/ombrisa-a11y-screens" <"$work/orders" >"$work/screens.out" 2>&1 &
exec 7>"$work/orders"
sleep 5
echo next >&7 # the start menu
sleep 4
echo next >&7 # the client card
sleep 6
echo "focus txtCliente" >&7
sleep 3
/usr/bin/python3 - <<'PY'
import time
import pyatspi
TAB = 23  # the X key code of Tab in Xvfb's keyboard map
for _ in range(11):
    pyatspi.Registry.generateKeyboardEvent(TAB, None, pyatspi.KEY_PRESSRELEASE)
    time.sleep(1.5)
PY
sleep 3
echo next >&7
sleep 1
grep "SPEECH OUTPUT" "$work/orca-debug.out" | sed "s/{'established.*//"
