#!/bin/sh
# Renders the pictures a new window of each finished tool shows, into the folder $1.
set -e
cd "$(dirname "$0")/.."
dir="${1:-out}"
mkdir -p "$dir"
build/src/quorvex-batch --version
if build/src/quorvex-batch render --help >/dev/null 2>&1; then
  build/src/quorvex-batch render --tool mandel -o "$dir/mandelbrot.png"
  build/src/quorvex-batch render --tool julia -o "$dir/julia.png"
  build/src/quorvex-batch render --tool dyc -o "$dir/dynamic-plane.png"
  echo "written: $dir/mandelbrot.png $dir/julia.png $dir/dynamic-plane.png"
else
  echo "this build renders no pictures yet"
fi
