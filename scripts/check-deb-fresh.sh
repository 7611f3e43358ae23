#!/usr/bin/env bash
# By hand, as root on a Debian 12 host: installs the package into a fresh Debian 12 (debootstrap
# minbase) and checks that the program, menu entry, icon and udev rule work there. Not run by CI or ctest.
#
#   sudo scripts/check-deb-fresh.sh [orvane-g7_1.0_amd64.deb]
#
# Without an argument the build folder is brought up to date and packed (BUILD_DIR, default build).
# BASE (default /var/tmp/orvane-g7-bookworm) holds the untouched debootstrap, made on the first run;
# every run works in a copy of it, $BASE-run, so each install starts from a fresh system.
# MIRROR: the Debian mirror (default: the host's deb.debian.org-style entry, else deb.debian.org).
# RECOMMENDS=1 installs Recommends as plain apt does; by default only Depends, so none can hide.
# Leaves $BASE-run in place (screenshots in $BASE-run/tmp/) and unmounts all it mounted.
set -uo pipefail
cd "$(dirname "$0")/.."

[ "$(id -u)" = 0 ] || { echo "check-deb-fresh: run as root (debootstrap, chroot, mounts)" >&2; exit 2; }
BASE="${BASE:-/var/tmp/orvane-g7-bookworm}"
RUN="$BASE-run"
start=$(date +%s)

deb="${1:-}"
if [ -z "$deb" ]; then
  build_dir="${BUILD_DIR:-build}"
  BUILD_DIR="$build_dir" bash scripts/build.sh || exit 1
  (cd "$build_dir" && cpack -G DEB >/dev/null) || exit 1
  deb="$build_dir/orvane-g7_1.0_amd64.deb"
fi
[ -f "$deb" ] || { echo "check-deb-fresh: no package at $deb" >&2; exit 2; }

if [ -z "${MIRROR:-}" ]; then
  MIRROR=$(grep -rhoE '(https?://[^ ]+/debian)/?( |$)' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null \
           | head -1 | tr -d ' ')
  MIRROR="${MIRROR:-http://deb.debian.org/debian}"
fi

if [ ! -f "$BASE/etc/debian_version" ]; then
  command -v debootstrap >/dev/null || apt-get install -y debootstrap >/dev/null || exit 1
  echo "== debootstrap bookworm from $MIRROR into $BASE"
  debootstrap --variant=minbase bookworm "$BASE" "$MIRROR" >"$BASE.log" 2>&1 \
    || { echo "debootstrap failed, see $BASE.log" >&2; exit 1; }
fi

echo "== fresh copy $RUN"
rm -rf "$RUN"
cp -a "$BASE" "$RUN"
security="${MIRROR%/debian}/debian-security"
cat >"$RUN/etc/apt/sources.list" <<EOF
deb $MIRROR bookworm main
deb $MIRROR bookworm-updates main
deb $security bookworm-security main
EOF
# No services start inside the chroot.
printf '#!/bin/sh\nexit 101\n' >"$RUN/usr/sbin/policy-rc.d"
chmod 755 "$RUN/usr/sbin/policy-rc.d"
cp /etc/resolv.conf "$RUN/etc/resolv.conf"
cp "$deb" "$RUN/tmp/orvane-g7.deb"

mounted=()
cleanup() {
  # Processes this run left inside the chroot (Xvfb, the program) go first, or the mounts stay busy.
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$RUN" ] && kill "${p#/proc/}" 2>/dev/null
  done
  sleep 1
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[i]}" || umount -l "${mounted[i]}"; done
}
trap cleanup EXIT
mount -t proc proc "$RUN/proc" && mounted+=("$RUN/proc")
mount -t sysfs sysfs "$RUN/sys" && mounted+=("$RUN/sys")
mount --bind /dev "$RUN/dev" && mounted+=("$RUN/dev")
mount --bind /dev/pts "$RUN/dev/pts" && mounted+=("$RUN/dev/pts")

in_chroot() { chroot "$RUN" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
                DEBIAN_FRONTEND=noninteractive "$@"; }
failed=0
check() { # check "what" command...: prints ok/FAIL with the command's own output on failure
  local what="$1" out
  shift
  if out=$("$@" 2>&1); then
    echo "ok   $what"
  else
    echo "FAIL $what"
    [ -n "$out" ] && sed 's/^/     /' <<<"$out"
    failed=$((failed + 1))
  fi
}

echo "== apt-get update; apt install ./orvane-g7.deb"
in_chroot apt-get update -q >"$RUN/tmp/apt-update.log" 2>&1 || { echo "apt-get update failed" >&2; exit 1; }
recommends=--no-install-recommends
[ "${RECOMMENDS:-0}" = 1 ] && recommends=
check "the package installs and its Depends resolve" \
  in_chroot sh -c "cd /tmp && apt-get install -y $recommends ./orvane-g7.deb >/tmp/apt-install.log 2>&1 \
                   || { tail -20 /tmp/apt-install.log; exit 1; }"
grep -E 'newly installed' "$RUN/tmp/apt-install.log"

check "files in place" in_chroot sh -c '
  for f in /usr/lib/orvane-g7/orvane-g7 /usr/lib/orvane-g7/modules/setting/pD.bin \
           /usr/lib/orvane-g7/modules/setting/apConfig.bin /usr/share/applications/orvane-g7.desktop \
           /usr/share/icons/hicolor/64x64/apps/orvane-g7.png /usr/lib/udev/rules.d/70-orvane-g7.rules; do
    [ -s "$f" ] || { echo "missing: $f"; exit 1; }
  done
  [ "$(readlink -f /usr/bin/orvane-g7)" = /usr/lib/orvane-g7/orvane-g7 ] || { echo "launcher: $(ls -l /usr/bin/orvane-g7)"; exit 1; }
  [ "$(command -v orvane-g7)" = /usr/bin/orvane-g7 ] || { echo "not on PATH"; exit 1; }'
check "ldd: program, Qt plugins and QML plugins find every library" in_chroot sh -c '
  for f in /usr/lib/orvane-g7/orvane-g7 $(find /usr/lib/x86_64-linux-gnu/qt6/plugins /usr/lib/x86_64-linux-gnu/qt6/qml -name "*.so"); do
    ldd "$f" | grep "not found" | sed "s|^|$f: |"
  done | grep . && exit 1; exit 0'
check "--help exits 0 with its usage" in_chroot sh -c 'orvane-g7 --help | grep -q "^Usage: orvane-g7"'
check "--check without a mouse: exit 1, sees the installed rule" in_chroot sh -c '
  out=$(orvane-g7 --check); rc=$?; echo "$out"
  [ $rc = 1 ] && echo "$out" | grep -q "udev rule: installed (/usr/lib/udev/rules.d/70-orvane-g7.rules)"'
check "--udev-rule prints the installed rule" in_chroot sh -c \
  'orvane-g7 --udev-rule | cmp - /usr/lib/udev/rules.d/70-orvane-g7.rules'

echo "== desktop tools and an unprivileged user"
in_chroot apt-get install -y --no-install-recommends xvfb xauth xdotool imagemagick desktop-file-utils \
  >"$RUN/tmp/apt-tools.log" 2>&1 || { echo "installing the desktop tools failed" >&2; exit 1; }
check "desktop-file-validate" in_chroot desktop-file-validate /usr/share/applications/orvane-g7.desktop
in_chroot useradd -m -s /bin/bash tester

# Starts the program on its own Xvfb as the calling user, waits for the window, takes a screenshot.
cat >"$RUN/tmp/gui-check.sh" <<'EOF'
#!/bin/bash
exec 3>/tmp/display.$$
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xpid=$!
for i in $(seq 50); do [ -s /tmp/display.$$ ] && break; sleep 0.1; done
export DISPLAY=:$(cat /tmp/display.$$)
orvane-g7 --simulate >/tmp/g7-$USER.out 2>/tmp/g7-$USER.err &
gpid=$!
win=
for i in $(seq 75); do
  win=$(xdotool search --onlyvisible --name '^ORVANE GLIDE MOUSE G7' 2>/dev/null | head -1)
  [ -n "$win" ] && break
  sleep 0.2
done
[ -n "$win" ] && sleep 3 && import -window root /tmp/orvane-g7-$USER.png
kill $gpid $xpid 2>/dev/null
wait
[ -n "$win" ] || { echo "no window; stderr:"; cat /tmp/g7-$USER.err; exit 1; }
bad=0
grep -E 'qrc:|is not installed|No page loaded|Could not copy' /tmp/g7-$USER.err && bad=1
# An empty window (a page that failed to load) is a few flat colours; the main page has thousands.
colours=$(convert /tmp/orvane-g7-$USER.png -crop 1000x640+0+0 -format %k info:)
[ "$colours" -gt 1000 ] || { echo "the window looks empty: $colours colours"; bad=1; }
exit $bad
EOF
chmod 755 "$RUN/tmp/gui-check.sh"
touch "$RUN/tmp/before-gui"
for user in tester root; do
  home=$(in_chroot sh -c "getent passwd $user | cut -d: -f6")
  check "$user: the window opens on --simulate and shows the main page" \
    in_chroot runuser -u "$user" -- env HOME="$home" USER="$user" /tmp/gui-check.sh
  check "$user: the data folder is seeded under ~/.local/share/orvane-g7/modules" \
    in_chroot test -s "$home/.local/share/orvane-g7/modules/setting/apConfig.bin"
done
check "installed files never written" in_chroot sh -c '
  dpkg -V orvane-g7 || exit 1
  find /usr/lib/orvane-g7 -newer /tmp/before-gui | grep . && exit 1; exit 0'
echo "     screenshots: $RUN/tmp/orvane-g7-tester.png, $RUN/tmp/orvane-g7-root.png"

check "purge leaves nothing behind" in_chroot sh -c '
  apt-get purge -y orvane-g7 >/tmp/apt-purge.log 2>&1 || { tail -5 /tmp/apt-purge.log; exit 1; }
  grep -i "not empty" /tmp/apt-purge.log && exit 1
  ls -d /usr/lib/orvane-g7 /usr/lib/udev/rules.d/70-orvane-g7.rules /usr/share/applications/orvane-g7.desktop 2>/dev/null | grep . && exit 1
  exit 0'

echo "== $failed failed; $(($(date +%s) - start)) s"
[ "$failed" = 0 ]
