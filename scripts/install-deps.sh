#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the end-to-end checks need.
# Only missing packages are installed, so a second run costs a dpkg query.
set -euo pipefail

PACKAGES=(
  g++ cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-qpa-plugins libgl-dev
  qt6-tools-dev qt6-l10n-tools
  libjpeg62-turbo-dev libgif-dev giflib-tools libjpeg-turbo-progs poppler-utils
  libzip-dev zlib1g-dev zip unzip python3 cksfv
  libgtest-dev libgmock-dev libbenchmark-dev
  libx11-dev libxcb1-dev libx11-xcb-dev
  xvfb xauth openbox trayer xdotool wmctrl imagemagick x11-utils
  dbus at-spi2-core python3-pyatspi
  adwaita-icon-theme hicolor-icon-theme shared-mime-info xdg-utils libglib2.0-bin
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: run as root or install sudo" >&2; exit 1; }
  SUDO=sudo
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
