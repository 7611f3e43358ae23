# shellcheck shell=bash disable=SC2034  # xvfb_pid and tray_pid are read by the caller
# Sourced by scripts that drive the program on a private X server (scripts/screenshots.sh, bench/figures.sh).
# xsession_start WORK: runtime folder and XDG homes below WORK, Xvfb on a free display (DISPLAY exported)
# and a tray host on it. Their ids are in xvfb_pid and tray_pid; ending them is the caller's.
xsession_start() {
    local work=$1
    mkdir -m 700 "$work/runtime"
    export XDG_RUNTIME_DIR=$work/runtime XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY
    # Xvfb picks a free display and writes its number to descriptor 3.
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do grep -q . "$work/display" 2>/dev/null && break; sleep 0.1; done
    DISPLAY=:$(head -n1 "$work/display")
    export DISPLAY
    trayer --edge top >/dev/null 2>&1 &
    tray_pid=$!
    for _ in $(seq 100); do xdotool search --class trayer >/dev/null 2>&1 && break; sleep 0.1; done
}
