#!/bin/sh
# Installs what is missing, builds, and starts Quorvex. Without a display it
# renders the start pictures with the headless program instead.
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [ -n "$DISPLAY" ] || [ -n "$WAYLAND_DISPLAY" ]; then
  exec build/src/quorvex "$@"
fi
echo "no display: rendering the start pictures headless into out/"
mkdir -p out
scripts/start-pictures.sh out
