#!/usr/bin/env bash
# Installs every Debian 12 package the build, the program and the tests need.
# Idempotent: packages already present are skipped; nothing else is downloaded.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config dpkg-dev desktop-file-utils lintian file
  qt6-base-dev qt6-base-dev-tools qt6-declarative-dev qt6-declarative-dev-tools
  libqt6quickwidgets6 libqt6opengl6-dev libqt6svg6
  qml6-module-qtquick qml6-module-qtquick-window qml6-module-qtqml-workerscript
  qml6-module-qtquick-controls qml6-module-qtquick-templates qml6-module-qtquick-layouts
  qml6-module-qttest qml6-module-qtqml
  qt6-qpa-plugins
  libhidapi-dev libudev-dev libx11-dev libxcb1-dev libxtst-dev libglib2.0-dev gsettings-desktop-schemas
  xvfb xauth x11-utils x11-xserver-utils xdotool trayer imagemagick dbus-daemon
  openbox x11-apps xterm
  fonts-noto-cjk fonts-dejavu-core
  ccache ninja-build clang-14 libfuzzer-14-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#PACKAGES[@]} packages present"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "install-deps: installing ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
