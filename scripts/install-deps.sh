#!/bin/sh
# Installs, on Debian 12, whatever of the build and test dependencies is missing.
set -e
PKGS="build-essential cmake ninja-build ccache pkg-config
      qt6-base-dev qt6-multimedia-dev libgl-dev fonts-dejavu-core
      libgtest-dev libbenchmark-dev zlib1g-dev
      xvfb xauth ghostscript imagemagick librsvg2-bin
      texlive-base texlive-pictures texlive-latex-base texlive-latex-extra emf2svg
      desktop-file-utils shared-mime-info libxml2-utils poppler-utils"
missing=""
for p in $PKGS; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "installing:$missing"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
