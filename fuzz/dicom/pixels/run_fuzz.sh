#!/bin/sh
# Builds the pixel-value fuzzer with clang and runs it, niced, for the given
# number of seconds (default 600). Seeds are the image files of
# tests/data/dicom and fuzz/dicom/pixels/seeds (a 256 x 65535 frame in 2 KB of
# JPEG 2000) and the real samples of the shared corpus no larger than the
# longest input, whatever their syntax.
# Usage: fuzz/dicom/pixels/run_fuzz.sh [seconds] [build folder] [corpus folder]
# (SUITE_CORPUS_DIR names another folder of samples with its manifest.tsv.)
set -eu
SECONDS_TO_RUN="${1:-600}"
ROOT=$(cd "$(dirname "$0")/../../.." && pwd)
BUILD="${2:-$ROOT/build/fuzz-dicom}"
CORPUS="${3:-$BUILD/pixels-corpus}"
SAMPLES="${SUITE_CORPUS_DIR:-$ROOT/../shared/corpus}"
MAX_LEN=65536

CC=clang CXX=clang++ cmake -S "$ROOT/fuzz/dicom" -B "$BUILD" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
nice -n 10 cmake --build "$BUILD" --target FuzzDicomPixels -j3

SEEDS="$BUILD/pixels-seeds"
mkdir -p "$SEEDS" "$CORPUS"
cp "$ROOT"/tests/data/dicom/*.dcm "$ROOT"/fuzz/dicom/pixels/seeds/*.dcm "$SEEDS"
if [ -f "$SAMPLES/manifest.tsv" ]; then
    python3 - "$SAMPLES" "$SEEDS" "$MAX_LEN" <<'PY'
import csv, pathlib, shutil, sys
samples, seeds, longest = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]), int(sys.argv[3])
with open(samples / "manifest.tsv", newline="") as manifest:
    for row in csv.DictReader(manifest, delimiter="\t"):
        path = samples / row["file"]
        if row["photometric"] and path.is_file() and path.stat().st_size <= longest:
            shutil.copyfile(path, seeds / row["file"].replace("/", "_"))
PY
fi

# The log (fuzz-0.log) and any crashing input land in the current folder.
exec nice -n 10 "$BUILD/FuzzDicomPixels" -max_total_time="$SECONDS_TO_RUN" -max_len="$MAX_LEN" \
    -timeout=20 -rss_limit_mb=2048 -malloc_limit_mb=1024 -jobs=1 -workers=1 \
    -print_final_stats=1 "$CORPUS" "$SEEDS"
