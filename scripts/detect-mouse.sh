#!/usr/bin/env bash
# Exit 0 when a supported mouse (vendor 260D) is attached, 1 otherwise.
for ev in /sys/class/hidraw/*/device/uevent; do
  [ -r "$ev" ] || continue
  if grep -qi '^HID_ID=[0-9a-f]*:0000260D:' "$ev"; then exit 0; fi
done
exit 1
