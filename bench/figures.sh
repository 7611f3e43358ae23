#!/usr/bin/env bash
# The program's performance figures, each against a reference measured in the same run.
# Run by hand (never a test), after a build:  bash bench/figures.sh [BUILD_DIR]  (default: build)
#   start-up   the full page's first frame (probe_renderer, the start logo's fixed 1 s taken off)
#              against a bare QQuickWidget window of the same size (bench_bare_window); goal <= 3x
#   memory     resident memory 3 s after hiding to the tray, same pair; goal <= bare + 25 MiB
#   wake-ups   context switches of all threads over 60 s of the hidden program, without a mouse and
#              with the simulated one, against the hidden bare window; goal: without a mouse nothing
#              beyond the bare window, with the mouse only the event monitor's 500 ms reads
#   re-send    a profile switch's full re-send against the sum of its pauses; goal <= 1.02
#   links      focus change to the first report of the linked profile's re-send (under openbox);
#              goal <= 350 ms, and no GUI-thread wake-ups while the focus stays
# Starts its own Xvfb and tray host; the programs run from private copies of the data folder.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build}")
bin=$build/bin
rounds=${G7_ROUNDS:-3}
idle=${G7_IDLE_SECONDS:-60}
for exe in orvane-g7 probe_renderer bench_bare_window bench_profile_resend bench_applinks; do
    [ -x "$bin/$exe" ] || { echo "no $bin/$exe; build first (scripts/build.sh)" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid='' tray_pid='' pids=()
stop() { # only what this script started, by its own ids
    for pid in $xvfb_pid $tray_pid "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap stop EXIT
# shellcheck source=scripts/xsession.sh
. "$root/scripts/xsession.sh"
xsession_start "$work"

echo "== machine"
echo "$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), $(free -m | awk '/Mem:/ {print $2}') MiB"
echo "$(uname -sr), Qt $(qtpaths6 --qt-version 2>/dev/null || echo '?'), load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
field() { awk -v k="$1" '{for (i = 1; i < NF; ++i) if ($i == k) print $(i + 1)}'; }

echo
echo "== start-up and memory, $rounds rounds each, alternating (median)"
: >"$work/bare" ; : >"$work/page"
for r in $(seq "$rounds"); do
    "$bin/bench_bare_window" | tee -a "$work/bare"
    (cd "$work" && "$bin/probe_renderer" software 2>/dev/null) | tee -a "$work/page"
done
bare_frame=$(field first-frame-ms <"$work/bare" | median)
bare_rss=$(field hidden-rss-kib <"$work/bare" | median)
page_frame=$(field page-frame-ms <"$work/page" | median)
page_rss=$(field hidden-rss-kib <"$work/page" | median)

# tasks PID: "tid switches name" for every thread, voluntary and involuntary together.
tasks() {
    for dir in /proc/"$1"/task/*; do
        [ -r "$dir/status" ] || continue
        awk -v tid="${dir##*/}" '/^Name:/ {n = $2} /ctxt_switches:/ {s += $2} END {print tid, s, n}' "$dir/status" 2>/dev/null
    done
}
# woke BEFORE AFTER: switches in between over threads present at the end (new ones count from 0).
woke() { awk 'NR == FNR {b[$1] = $2; next} {d = $2 - b[$1]; t += d; by[$3] += d} END {
    printf "%d", t; for (n in by) if (by[n]) printf " %s=%d", n, by[n]; printf "\n"}' "$1" "$2"; }

# hidden NAME ARGS...: a private copy of the program started and sent to the tray; prints its pid.
hidden() {
    local name=$1; shift
    mkdir -p "$work/$name" && cp "$bin/orvane-g7" "$work/$name/" && cp -r "$bin/modules" "$work/$name/"
    "$work/$name/orvane-g7" "$@" >"$work/$name.log" 2>&1 &
    local pid=$! wid=''
    for _ in $(seq 50); do
        wid=$(xdotool search --onlyvisible --pid "$pid" --name '^ORVANE GLIDE MOUSE G7' 2>/dev/null | head -n1) && [ -n "$wid" ] && break
        sleep 0.1
    done
    if [ -n "$wid" ]; then
        sleep 2 # past the start-up lock
        eval "$(xdotool getwindowgeometry --shell "$wid")"
        xdotool mousemove $((X + 987)) $((Y + 14)) click 1 # the close button: to the tray
    fi
    echo "$pid"
}

echo
echo "== wake-ups over $idle s, hidden in the tray (context switches, all threads)"
# From the work folder: the killed bare window leaves its temporary page file there.
(cd "$work" && exec "$bin/bench_bare_window" --stay) >"$work/bare-idle" &
bare_pid=$!; pids+=("$bare_pid")
nomouse_pid=$(hidden nomouse); pids+=("$nomouse_pid")
sim_pid=$(hidden simulated --simulate); pids+=("$sim_pid")
sleep 15 # past the bare window's hiding (3 s) and the connection notice in the tray (10 s)
for p in $bare_pid $nomouse_pid $sim_pid; do tasks "$p" >"$work/before-$p"; done
sleep "$idle"
for p in $bare_pid $nomouse_pid $sim_pid; do tasks "$p" >"$work/after-$p"; done
for p in $bare_pid $nomouse_pid $sim_pid; do kill "$p" 2>/dev/null || true; done
bare_woke=$(woke "$work/before-$bare_pid" "$work/after-$bare_pid")
nomouse_woke=$(woke "$work/before-$nomouse_pid" "$work/after-$nomouse_pid")
sim_woke=$(woke "$work/before-$sim_pid" "$work/after-$sim_pid")
echo "bare window     $bare_woke"
echo "no mouse        $nomouse_woke"
echo "simulated mouse $sim_woke"

echo
echo "== profile switch re-send (simulated mouse, real pauses)"
(cd "$work" && "$bin/bench_profile_resend" 4 2>/dev/null) | tee "$work/resend"
resend=$(awk '/^best re-send/ {print $(NF - 3)}' "$work/resend")

echo
echo "== profiles following the application in front (openbox keeps the active window)"
openbox --sm-disable >/dev/null 2>&1 &
pids+=("$!")
sleep 1 # openbox takes over the screen
(cd "$work" && "$bin/bench_applinks" 6 2>/dev/null) | tee "$work/links"
links=$(awk '/^focus change/ {print $7 " ms median, " $10 " ms worst"}' "$work/links")
links_woke=$(sed -n 's/^GUI thread wake-ups.*change: \([0-9]*\).*/\1/p' "$work/links")

reads=$((idle * 2))
echo
echo "== figures (load average at the end: $(cut -d' ' -f1-3 /proc/loadavg))"
awk -v pf="$page_frame" -v bf="$bare_frame" -v pr="$page_rss" -v br="$bare_rss" \
    -v bw="${bare_woke%% *}" -v nw="${nomouse_woke%% *}" -v sw="${sim_woke%% *}" -v reads="$reads" \
    -v rs="$resend" -v idle="$idle" -v ln="$links" -v lw="$links_woke" 'BEGIN {
    printf "start-up   page %d ms - 1000 ms logo = %d ms, bare %d ms: %.2f x (goal <= 3)\n", pf, pf - 1000, bf, (pf - 1000) / bf
    printf "memory     hidden %.1f MiB, bare %.1f MiB: bare + %.1f MiB (goal <= + 25)\n", pr / 1024, br / 1024, (pr - br) / 1024
    printf "wake-ups   %d s: bare %d, no mouse %d (%+d beyond bare, goal 0), simulated %d (%+d beyond bare, %.2f per 500 ms read, %d reads)\n", idle, bw, nw, nw - bw, sw, sw - bw, (sw - bw) / reads, reads
    printf "re-send    %s x its pauses (goal <= 1.02)\n", rs
    printf "links      %s (goal <= 350 ms); %s GUI-thread wake-ups over 5 s without a focus change\n", ln, lw
}'
