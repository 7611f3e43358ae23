#!/usr/bin/env bash
# Builds the Debian package from the build folder into a temporary folder and checks
# its file list and fields as dpkg sees them. Usage: package_deb.sh <build folder>
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
deb=$(ls "$out"/orvane-g7_*.deb)
dpkg-deb -c "$deb" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' >"$out/files"
fail=0
for want in \
  './usr/bin/orvane-g7 -> ../lib/orvane-g7/orvane-g7' \
  './usr/lib/udev/rules.d/70-orvane-g7.rules' \
  './usr/lib/orvane-g7/modules/setting/pD.bin' \
  './usr/lib/orvane-g7/modules/i18n/lang_025044.ini' \
  './usr/lib/orvane-g7/modules/img/trayIcon.ico' \
  './usr/share/icons/hicolor/scalable/apps/orvane-g7.svg'; do
  grep -qxF "$want" "$out/files" || { echo "not in the package: $want"; fail=1; }
done
# Nothing outside /usr, and no user data a build or test run left behind.
if grep -vE '^\./(usr/.*)?$' "$out/files"; then echo "files outside /usr"; fail=1; fi
if grep -E 'setting/p[0-9]+\.bin|/macro/.+' "$out/files"; then echo "user data in the package"; fail=1; fi
# Data folders read-only: a run as root would otherwise save into dpkg's files.
dpkg-deb -c "$deb" | awk '$1 ~ /^d/ && $6 ~ /^\.\/usr\/lib\/orvane-g7\/modules\// && $1 != "dr-xr-xr-x" {
  print "data folder not read-only: " $1 " " $6; bad = 1 } END { exit bad }' || fail=1
# The postinst that replays udev events is there, runnable and valid shell.
dpkg-deb -e "$deb" "$out/control"
{ [ -x "$out/control/postinst" ] && sh -n "$out/control/postinst"; } || { echo "no runnable postinst"; fail=1; }
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6core6 libqt6gui6 libqt6widgets6 libqt6quick6 libqt6quickwidgets6 libhidapi-hidraw0 libudev1 \
           libx11-6 libxtst6 libc6 qml6-module-qtquick qml6-module-qtquick-window qt6-qpa-plugins; do
  grep -qE "(^|, )$dep( |,|$)" <<<"$depends" || { echo "Depends lacks $dep: $depends"; fail=1; }
done
# The installed menu entry is valid.
dpkg-deb -x "$deb" "$out/root"
desktop-file-validate "$out/root/usr/share/applications/orvane-g7.desktop" || fail=1
# Each hicolor size is there and is what its folder says.
for n in 16 22 24 32 48 64 128 256; do
  png=$out/root/usr/share/icons/hicolor/${n}x${n}/apps/orvane-g7.png
  file "$png" | grep -q "PNG image data, $n x $n," || { echo "icon ${n}x${n}: $(file -b "$png")"; fail=1; }
done
# The man page names every option --help names, and the changelog is of this version.
man=$(gzip -dc "$out/root/usr/share/man/man1/orvane-g7.1.gz" | sed 's/\\-/-/g')
for opt in $(env -u DISPLAY "$build/bin/orvane-g7" --help | grep -oE -- '(^| )--?[a-z][a-z-]*' | sort -u); do
  grep -qF -- "$opt" <<<"$man" || { echo "man page lacks $opt"; fail=1; }
done
gzip -dc "$out/root/usr/share/doc/orvane-g7/changelog.gz" >"$out/changelog"
[ "$(dpkg-parsechangelog -l "$out/changelog" -S Version)" = "$(dpkg-deb -f "$deb" Version)" ] \
  || { echo "changelog is not of version $(dpkg-deb -f "$deb" Version)"; fail=1; }
# lintian finds nothing but what the overrides explain (a copyright file and the overrides among them).
lintian --fail-on error,warning "$deb" || { echo "lintian complains"; fail=1; }
exit $fail
