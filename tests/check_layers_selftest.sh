#!/bin/sh
# The layer check must pass on the real tree and fail on each kind of bad
# include: upward, from one tool into another, and a tool named outside the
# registry. Usage: check_layers_selftest.sh CHECKER SRC_DIR
checker="$1"; src="$2"
work=$(mktemp -d) || exit 2
trap 'rm -rf "$work"' EXIT
"$checker" "$src" >/dev/null || { echo "the real tree fails the check"; exit 1; }
try() { # FILE LINE: the copy with LINE added to FILE must fail
  rm -rf "$work/src"; cp -r "$src" "$work/src"
  mkdir -p "$(dirname "$work/src/$1")"
  printf '%s\n' "$2" >> "$work/src/$1"
  if "$checker" "$work/src" >/dev/null; then echo "not caught: $2 in $1"; exit 1; fi
}
try base/numeric.h '#include "model/tvorlwin.h"'
try expr/node.h '#include "graphics/view.h"'
try model/tvorlwin.h '#include "tools/mandel/tmanwin.h"'
try tools/other/x.cpp '#include "tools/mandel/tmanwin.h"'
try ui/tool_window.cpp '#include "tools/mandel/tmj0win.h"'
try batch/main.cpp '#include "ui/tool_window.h"'
try registry/tool_registry.cpp '#include "batch/commands.h"'
echo "every kind of bad include is caught"
