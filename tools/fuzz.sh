#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for SECONDS (default 60). An input
# a run saves as a crash goes straight into the target's regression corpus,
# tests/fuzz/corpus/<target>/; inputs that reached new coverage are merged
# into it (-merge=1 -use_counters=0 takes only those that reach new edges),
# and `make test` replays every one. FUZZ_TARGETS names a subset.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
targets=${FUZZ_TARGETS:-bmp_reader jpeg_conversion png_reader jpeg_metadata numbers field_texts curve_file}
build=build/fuzz

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
      -DKORVEN_TESTS=OFF -DKORVEN_FUZZ=ON "${launcher[@]}" >/dev/null
for target in $targets; do cmake --build "$build" -j2 --target "fuzz_$target"; done

# Seeds: the test pictures, and the small JPEG photo with each EXIF
# orientation (an APP1 block of one big-endian directory entry before it).
seeds=$build/seeds
mkdir -p "$seeds/exif"
for o in 1 2 3 4 5 6 7 8; do
  { printf '\xff\xd8\xff\xe1\x00\x22Exif\x00\x00MM\x00\x2a\x00\x00\x00\x08\x00\x01'
    printf '\x01\x12\x00\x03\x00\x00\x00\x01\x00\x0'$o'\x00\x00\x00\x00\x00\x00'
    tail -c +3 tests/data/jpeg/testorig.jpg; } > "$seeds/exif/orientation-$o.jpg"
done
cp tests/data/jpeg/testimg*.jpg "$seeds/exif/"
# Small PNG files of every bit depth and colour type, palettes with tRNS,
# interlaced ones, and eXIf chunks before and after the pixels.
mkdir -p "$seeds/png"
python3 - "$seeds/png" <<'EOF'
import os, random, struct, sys, zlib
random.seed(7)
def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
def exif(order, o):
    if order == b'MM': return chunk(b'eXIf', b'MM\0*\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0' + bytes([o]) + b'\0' * 6)
    return chunk(b'eXIf', b'II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0' + bytes([o]) + b'\0' * 7)
def png(name, w, h, depth, kind, samples, interlace=0, before=b'', after=b''):
    passes = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]
    raw = b''
    for x0, y0, dx, dy in passes if interlace else [(0, 0, 1, 1)]:
        for y in range(y0, h, dy) if range(x0, w, dx) else []:
            bits = ''.join(format(random.randrange(1 << depth), '0%db' % depth)
                           for x in range(x0, w, dx) for _ in range(samples))
            bits += '0' * (-len(bits) % 8)
            raw += b'\0' + int(bits, 2).to_bytes(len(bits) // 8, 'big')
    header = chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, depth, kind, 0, 0, interlace))
    with open(os.path.join(sys.argv[1], name), 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + header + before + chunk(b'IDAT', zlib.compress(raw)) + after + chunk(b'IEND', b''))
palette = chunk(b'PLTE', bytes(random.randrange(256) for _ in range(12)))
png('grey1.png', 9, 5, 1, 0, 1)
png('grey16-trns.png', 6, 4, 16, 0, 1, before=chunk(b'tRNS', b'\x12\x34'))
png('palette2-trns.png', 7, 5, 2, 3, 1, before=palette + chunk(b'tRNS', b'\0\x80'))
png('grey-alpha8-interlaced.png', 9, 9, 8, 4, 2, interlace=1)
png('rgb8-exif6.png', 6, 4, 8, 2, 3, before=exif(b'MM', 6))
png('rgba16-interlaced.png', 10, 7, 16, 6, 4, interlace=1)
png('rgb8-exif8-after.png', 5, 3, 8, 2, 3, after=exif(b'II', 8))
EOF
declare -A options=(
  [bmp_reader]="-max_len=16384 tests/data/bmpsuite/g tests/data/bmpsuite/q tests/data/bmpsuite/b"
  [jpeg_conversion]="-max_len=16384 $seeds/exif"
  [png_reader]="-max_len=4096 $seeds/png"
  [jpeg_metadata]="-max_len=16384 $seeds/exif"
  [numbers]="-max_len=1024 -dict=tests/fuzz/numbers.dict"
  [field_texts]="-max_len=4096 -len_control=0"
  [curve_file]="-max_len=8192"
)

# The sanitizers' own runtime options: leaks in the toolkit are not ours.
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export QT_QPA_PLATFORM=offscreen
failed=()
for target in $targets; do
  corpus=tests/fuzz/corpus/$target
  work=$build/work/$target
  mkdir -p "$corpus" "$work"
  echo "== $target: $seconds s"
  # New inputs go into the first folder; the others (the corpus, the seeds)
  # are only read. libFuzzer takes every argument starting with - as a flag.
  # shellcheck disable=SC2086
  if ! "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="$corpus/" -rss_limit_mb=4096 "$work" "$corpus" ${options[$target]} \
       >"$build/$target.log" 2>&1; then
    failed+=("$target")
  fi
  grep -E 'DONE|stat::' "$build/$target.log" | tail -8 || true
  "$build/tests/fuzz/fuzz_$target" -merge=1 -use_counters=0 -artifact_prefix="$build/" "$corpus" "$work" >"$build/$target.merge.log" 2>&1
  grep -E 'MERGE-OUTER: [0-9]+ new files' "$build/$target.merge.log" || true
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing found faults in: ${failed[*]} (inputs saved in tests/fuzz/corpus; logs in $build)" >&2
  exit 1
fi
