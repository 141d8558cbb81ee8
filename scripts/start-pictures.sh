#!/bin/sh
# Renders the pictures a new window of each tool shows, into the folder $1
# (the dimension tool shows the picture it is given, so it has none of its own).
set -e
cd "$(dirname "$0")/.."
dir="${1:-out}"
mkdir -p "$dir"
build/src/quorvex-batch --version
written=""
for tool in mandel julia ppc ppr lya dyc dyr web ifc ifr bif srf; do
  build/src/quorvex-batch render --tool "$tool" -o "$dir/$tool.png"
  written="$written $dir/$tool.png"
done
echo "written:$written"
