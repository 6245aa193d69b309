#!/bin/sh
# Builds the data-set coding fuzzer with clang and runs it, niced, for the given
# number of seconds (default 600). Seeds are the data sets of the samples in
# tests/data/dicom, each behind the mode byte of the syntax it is coded in.
# Usage: fuzz/dicom/coding/run_fuzz.sh [seconds] [build folder]
set -eu
SECONDS_TO_RUN="${1:-600}"
ROOT=$(cd "$(dirname "$0")/../../.." && pwd)
BUILD="${2:-$ROOT/build/fuzz-dicom}"

CC=clang CXX=clang++ cmake -S "$ROOT/fuzz/dicom" -B "$BUILD" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
nice -n 10 cmake --build "$BUILD" --target FuzzDataSetCoding -j3

SEEDS="$BUILD/coding-seeds"
mkdir -p "$SEEDS" "$BUILD/coding-corpus"
python3 - "$ROOT/tests/data/dicom" "$SEEDS" <<'PY'
import pathlib, sys
source, target = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
modes = {"1.2.840.10008.1.2": 0, "1.2.840.10008.1.2.2": 2}
for path in sorted(source.glob("*.dcm")):
    data = path.read_bytes()
    offset, mode = 0, 1
    if data[128:132] == b"DICM":
        position = 132
        while position + 8 <= len(data) and data[position:position + 2] == b"\x02\x00":
            vr = data[position + 4:position + 6]
            if vr in (b"OB", b"OW", b"SQ", b"UN", b"UT"):
                length = int.from_bytes(data[position + 8:position + 12], "little")
                header = 12
            else:
                length = int.from_bytes(data[position + 6:position + 8], "little")
                header = 8
            if data[position + 2:position + 4] == b"\x10\x00":
                syntax = data[position + header:position + header + length].rstrip(b"\0 ").decode()
                mode = modes.get(syntax, 1)
            position += header + length
        offset = position
    elif data[:1] == b"\x00" and data[1:2] != b"\x00":
        mode = 2
    for extra in (0, 4):
        (target / f"{path.stem}-{mode + extra}").write_bytes(bytes([mode + extra]) + data[offset:])
PY

cd "$BUILD"
exec nice -n 10 ./FuzzDataSetCoding -max_total_time="$SECONDS_TO_RUN" -max_len=65536 -timeout=10 \
    -rss_limit_mb=2048 -malloc_limit_mb=1024 -print_final_stats=1 coding-corpus coding-seeds
