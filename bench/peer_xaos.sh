#!/bin/sh
# Escape-time speed against XaoS, the free explorer users pick for speed.
# Renders the same views with both programs, whole process, 1024x768, best of
# three runs, one thread each (and both with two threads), checks that they
# agree on which pixels are in the set (XaoS's y axis is mirrored and it
# guesses, so a few per cent may differ) and prints the wall-time ratio per
# view, for the exact mode and the --guess preview mode. The views: the
# start view, seahorse valley, the inside of the period-3 bulb, and two deep
# ones, the deeper beyond what doubles resolve (about a minute each). XaoS is
# installed through apt-get when missing; a machine without it skips with a
# message.
#
# Usage: bench/peer_xaos.sh [BUILD_DIR]   (default: build)
set -eu
build=${1:-build}
batch="$build/src/quorvex-batch"
[ -x "$batch" ] || { echo "no $batch: build first"; exit 1; }
for tool in python3 convert; do
  command -v "$tool" > /dev/null 2>&1 || { echo "$tool is needed for the arithmetic and the comparison: skipping"; exit 0; }
done
if ! command -v xaos > /dev/null 2>&1; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get install -y -qq --no-install-recommends xaos > /dev/null 2>&1 || true
fi
if ! command -v xaos > /dev/null 2>&1; then
  echo "XaoS is not installed and could not be installed: skipping the peer benchmark"
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
W=1024
H=768

# Arithmetic on reals written any way (1e-4 too).
calc() { python3 -c "print($1)"; }

# Best wall time in seconds of three runs of a command.
best() {
  b=""
  for _ in 1 2 3; do
    s=$(date +%s.%N)
    "$@" > /dev/null 2>&1
    e=$(date +%s.%N)
    t=$(calc "$e - $s")
    if [ -z "$b" ] || [ "$(calc "int($t < $b)")" -eq 1 ]; then b=$t; fi
  done
  echo "$b"
}

# The fraction of pixels on which the two pictures agree about set
# membership (black in both), XaoS's rows read bottom up.
agreement() {
  convert "$1" -colorspace gray -depth 8 gray:"$work/a.gray"
  convert "$2" -flip -colorspace gray -depth 8 gray:"$work/b.gray"
  python3 - "$work/a.gray" "$work/b.gray" <<'EOF'
import sys
a = open(sys.argv[1], 'rb').read()
b = open(sys.argv[2], 'rb').read()
same = sum(1 for x, y in zip(a, b) if (x == 0) == (y == 0))
print("%.4f" % (same / max(len(a), 1)))
EOF
}

printf '%-16s %8s %8s %6s %8s %6s %8s %8s %6s %7s %7s\n' view "xaos 1t" "ours 1t" ratio "guess 1t" ratio \
  "xaos 2t" "ours 2t" ratio agree "agree g"
while read -r name cx cy hw reps; do
  [ -z "$name" ] && continue
  w=$(calc "2 * $hw")
  h=$(calc "$w * $H / $W")
  cat > "$work/$name.xaf" <<EOF
(initstate)
(formula 'mandel)
(maxiter $reps)
(view $cx $cy $w $h)
(usleep 100000)
EOF
  for t in 1 2; do
    eval "x$t=\$(best env QT_QPA_PLATFORM=offscreen xaos -render '$work/$name.xaf' -basename '$work/x$name' -size ${W}x$H -alwaysrecalc -threads $t)"
    eval "q$t=\$(best '$batch' render --tool mandel --size ${W}x$H --centre $cx,$cy --width $hw --reps $reps --threads $t -o '$work/q$name.png')"
  done
  g1=$(best "$batch" render --tool mandel --size ${W}x$H --centre "$cx,$cy" --width "$hw" --reps "$reps" --threads 1 \
    --guess -o "$work/g$name.png")
  agree=$(agreement "$work/q$name.png" "$work/x${name}000000.png")
  agreeg=$(agreement "$work/g$name.png" "$work/x${name}000000.png")
  printf '%-16s %8.3f %8.3f %6.2f %8.3f %6.2f %8.3f %8.3f %6.2f %7s %7s\n' "$name" "$x1" "$q1" "$(calc "$q1 / $x1")" \
    "$g1" "$(calc "$g1 / $x1")" "$x2" "$q2" "$(calc "$q2 / $x2")" "$agree" "$agreeg"
done <<EOF
default -0.75 0 1.4 400
seahorse -0.743643887037151 0.131825904205330 5e-5 2000
bulb3-interior -0.1225 0.7449 0.05 5000
deep-1e-9 -0.743643887037151 0.131825904205330 1e-9 3000
deep-1e-12 -0.743643887037151 0.131825904205330 1e-12 3000
EOF
echo "(seconds, whole process, best of three; ratio = ours / XaoS; guess 1t = ours with --guess, the"
echo " inexact preview mode; agree = share of pixels both call in or out of the set; agree g: the same for --guess)"
