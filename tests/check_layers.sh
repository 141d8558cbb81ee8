#!/bin/sh
# Fails on any #include that runs upward through the layers of src/ or from
# one tool folder into another. The layers, lowest first:
#   base, expr, graphics (with export), model, tools/<tool>, registry, then batch and ui, then app.
# Only the registry names the tools: batch, ui and app reach them through it.
src="${1:?usage: check_layers.sh SRC_DIR}"
cd "$src" || exit 2
find . -name '*.h' -o -name '*.cpp' | sed 's#^\./##' | sort | while read -r file; do
  grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<][a-z]+/' "$file" |
    sed -E 's#^([0-9]+):[^"<]*["<]([^">]*)[">].*#\1 \2#' |
    while read -r line inc; do echo "$file $line $inc"; done
done | awk '
function layer(path,   p) {
  split(path, p, "/")
  if (p[1] == "tools") return "tools/" p[2]
  return p[1]
}
function rank(l) {
  if (l == "base") return 0
  if (l == "expr") return 1
  if (l == "graphics") return 2
  if (l == "model") return 3
  if (l ~ /^tools\//) return 4
  if (l == "registry") return 5
  if (l == "batch" || l == "ui") return 6
  if (l == "app") return 7
  return -1
}
{
  from = layer($1); to = layer($3)
  if (rank(to) < 0) next                  # not a project header (e.g. <sys/wait.h>)
  why = ""
  if (from == to) next
  if (rank(to) >= rank(from)) why = "runs upward or sideways"
  else if (to ~ /^tools\// && from !~ /^registry$/) why = "names a tool outside the registry"
  if (why != "") { printf "%s:%s: #include \"%s\" %s (%s -> %s)\n", $1, $2, $3, why, from, to; bad = 1 }
}
END { if (bad) exit 1; print "every include runs down the layers" }'
