#!/bin/sh
# Installs the Debian packages the build, the tests and the oracles need.
# Idempotent: apt-get runs only when something is missing.
set -eu

PACKAGES="
cmake ninja-build g++ lld pkg-config clang-format
libgtest-dev libgmock-dev libbenchmark-dev
libjpeg62-turbo-dev libopenjp2-7-dev libpng-dev
libfreetype-dev libfontconfig-dev fonts-liberation fonts-dejavu-core
libx11-dev libxext-dev libxtst-dev libxfixes-dev xvfb x11-xkb-utils xkb-data x11-apps
libcairo2-dev libcups2-dev cups-daemon poppler-utils
libglib2.0-dev shared-mime-info adwaita-icon-theme
dcmtk libdcmtk-dev libgdcm-tools python3-pydicom imagemagick dicom3tools
zlib1g-dev
"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -n "$missing" ]; then
    echo "bootstrap: installing$missing"
    SUDO=""
    if [ "$(id -u)" != "0" ]; then SUDO="sudo"; fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi
