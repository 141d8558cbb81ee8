#!/bin/sh
# Fails when the toolkit-free layers include a Qt header or the core archive refers to a Qt symbol.
src="$1"; lib="$2"
bad=$(grep -rEn '#\s*include\s*[<"](Q[A-Za-z]+|Qt[A-Za-z]+/)' \
      "$src/expr" "$src/graphics" "$src/core" "$src/tools" "$src/batch" 2>/dev/null)
if [ -n "$bad" ]; then echo "Qt header in the core:"; echo "$bad"; exit 1; fi
if nm -C "$lib" 2>/dev/null | grep -E ' U (Q[A-Z][A-Za-z]*::|qt_)' ; then
  echo "the core archive refers to Qt symbols"; exit 1
fi
echo "core is toolkit-free"
