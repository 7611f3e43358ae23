#!/usr/bin/env bash
# Install what is missing, build, and start the program. With no supported mouse
# attached it starts with the simulated one; with no desktop it starts its own
# virtual screen and tray host.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
args=("$@")
if ! bash scripts/detect-mouse.sh; then
  echo "run: no ORVANE GLIDE MOUSE G7 attached, starting with the simulated mouse"
  args=(--simulate "${args[@]}")
fi
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/orvane-g7 "${args[@]}"
fi
export DISPLAY=:77
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb $tray 2>/dev/null' EXIT
sleep 1
trayer --edge top >/dev/null 2>&1 &
tray=$!
echo "run: no desktop found, started Xvfb on $DISPLAY (take a look with: DISPLAY=$DISPLAY import -window root shot.png)"
build/bin/orvane-g7 "${args[@]}"
