#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time on a seed corpus
# made from the shipped pictures and options lines (with truncated, bit-flipped and oversized
# variants). A crash, leak, hang or runaway allocation fails the run; its input is kept under
# build/fuzz/crashes for a regression test.
#   tools/fuzz.sh [seconds per target, default 45]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-45}
build=build/fuzz
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DTARVEL_FUZZ=ON -DTARVEL_WERROR=ON
fi
cmake --build "$build" --target options_line_fuzz jpeg_fuzz

corpus=$build/corpus
rm -rf "$corpus" && mkdir -p "$corpus/jpeg" "$corpus/options" "$build/crashes"
for f in content/pictures/*.jpg content/about/photo.jpg; do
  n=$(basename "$f" .jpg)
  cp "$f" "$corpus/jpeg/$n.jpg"
done
/usr/bin/python3 - "$corpus" <<'PY'
import os, random, sys
corpus = sys.argv[1]
random.seed(1)
pictures = sorted(p for p in os.listdir(f"{corpus}/jpeg") if p.endswith(".jpg"))
for name in pictures[:12]:
    data = open(f"{corpus}/jpeg/{name}", "rb").read()
    base = name[:-4]
    open(f"{corpus}/jpeg/{base}-cut", "wb").write(data[: len(data) // 3])
    flipped = bytearray(data)
    for _ in range(8):
        i = random.randrange(len(flipped))
        flipped[i] ^= 1 << random.randrange(8)
    open(f"{corpus}/jpeg/{base}-flip", "wb").write(bytes(flipped))
    # The frame header's height and width (SOF0) set to 65535 x 65535.
    big = bytearray(data)
    i = big.find(b"\xff\xc0")
    if i >= 0:
        big[i + 5 : i + 9] = b"\xff\xff\xff\xff"
        open(f"{corpus}/jpeg/{base}-huge", "wb").write(bytes(big))
lines = open("content/options.txt", encoding="utf-8").read().splitlines()
for k, line in enumerate(lines):
    open(f"{corpus}/options/{k + 1:02d}", "w", encoding="utf-8").write(line)
for k, line in enumerate(["a;b;c", "a;;;b", ";;a", "a;b'c;d", 'a;"b;c";d', ";", ""]):
    open(f"{corpus}/options/rule-{k}", "w", encoding="utf-8").write(line)
PY

run() {
  local target=$1 dir=$2
  "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 \
    -malloc_limit_mb=512 -print_final_stats=1 -artifact_prefix="$build/crashes/$target-" \
    "$corpus/$dir" 2>&1 | tail -n 12
  return "${PIPESTATUS[0]}"
}
run options_line_fuzz options
run jpeg_fuzz jpeg
echo "fuzz: no crash in ${seconds} s per target"
