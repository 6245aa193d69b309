#!/bin/sh
# Builds one viewer fuzzer with clang and runs it, niced, on two workers for
# the given number of seconds (default 600).
#   image:  seeds are the made-up images of image/make_seeds.py, the kept
#           findings of image/seeds, tests/data/dicom and one real sample of
#           the shared corpus for each transfer syntax, photometric
#           interpretation and frame count, no larger than the longest input;
#   config: seeds are the configuration files of resources/Config and the
#           kept findings of config/seeds.
# Usage: fuzz/viewer/run_fuzz.sh image|config [seconds] [build folder]
# (SUITE_CORPUS_DIR names another folder of samples with its manifest.tsv.)
set -eu
KIND="$1"
SECONDS_TO_RUN="${2:-600}"
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD="${3:-$ROOT/build/fuzz-viewer}"
SAMPLES="${SUITE_CORPUS_DIR:-$ROOT/../shared/corpus}"

case "$KIND" in
image) TARGET=FuzzViewerImage MAX_LEN=65536 ;;
config) TARGET=FuzzViewerConfig MAX_LEN=8192 ;;
*) echo "usage: $0 image|config [seconds] [build folder]" >&2; exit 2 ;;
esac

CC=clang CXX=clang++ cmake -S "$ROOT/fuzz/viewer" -B "$BUILD" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
nice -n 10 cmake --build "$BUILD" --target "$TARGET" -j3

SEEDS="$BUILD/$KIND-seeds"
CORPUS="$BUILD/$KIND-corpus"
mkdir -p "$SEEDS" "$CORPUS"
if [ "$KIND" = image ]; then
    python3 "$ROOT/fuzz/viewer/image/make_seeds.py" "$SEEDS"
    cp "$ROOT"/tests/data/dicom/*.dcm "$SEEDS"
    if [ -f "$SAMPLES/manifest.tsv" ]; then
        python3 - "$SAMPLES" "$SEEDS" "$MAX_LEN" <<'PY'
import csv, pathlib, shutil, sys
samples, seeds, longest = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]), int(sys.argv[3])
taken = set()
with open(samples / "manifest.tsv", newline="") as manifest:
    for row in csv.DictReader(manifest, delimiter="\t"):
        path = samples / row["file"]
        kind = (row["transfer_syntax_uid"], row["photometric"], row["frames"])
        if row["photometric"] and kind not in taken and path.is_file() \
                and path.stat().st_size <= longest:
            taken.add(kind)
            shutil.copyfile(path, seeds / row["file"].replace("/", "_"))
PY
    fi
else
    cp "$ROOT"/resources/Config/*.xml "$SEEDS"
fi
if [ -d "$ROOT/fuzz/viewer/$KIND/seeds" ]; then
    cp "$ROOT/fuzz/viewer/$KIND/seeds"/* "$SEEDS"
fi

# Two processes forked in turn, going on past each finding; every finding
# (crash-, leak-, oom-, timeout-<hash>) lands in the current folder.
exec nice -n 10 "$BUILD/$TARGET" -max_total_time="$SECONDS_TO_RUN" -max_len="$MAX_LEN" \
    -timeout=20 -rss_limit_mb=2048 -malloc_limit_mb=1024 -fork=2 -ignore_crashes=1 \
    -ignore_timeouts=1 -ignore_ooms=1 -print_final_stats=1 "$CORPUS" "$SEEDS"
