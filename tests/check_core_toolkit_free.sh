#!/bin/sh
# Fails when a layer below the windows includes a Qt header or one of their
# archives refers to a Qt symbol. Usage: check_core_toolkit_free.sh SRC ARCHIVE...
src="$1"; shift
bad=$(grep -rEn '#\s*include\s*[<"](Q[A-Za-z]+|Qt[A-Za-z]+/)' \
      "$src/base" "$src/expr" "$src/graphics" "$src/model" "$src/tools" "$src/registry" "$src/batch" 2>/dev/null)
if [ -n "$bad" ]; then echo "Qt header below the windows:"; echo "$bad"; exit 1; fi
for lib in "$@"; do
  [ -f "$lib" ] || { echo "missing archive $lib"; exit 1; }
  if nm -C "$lib" 2>/dev/null | grep -E ' U (Q[A-Z][A-Za-z]*::|qt_)' ; then
    echo "$lib refers to Qt symbols"; exit 1
  fi
done
echo "the layers below the windows are toolkit-free ($# archives)"
