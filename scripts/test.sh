#!/bin/sh
# Builds every target with the sanitizers on and runs every test, then checks
# that the optimised build and the benchmarks still compile.
set -eu
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
if [ ! -f ../shared/corpus/manifest.tsv ]; then
    scripts/corpus.sh build/corpus
fi
JOBS="${JOBS:-$(nproc)}"
cmake --preset dev
cmake --build --preset dev -j "$JOBS"
ctest --preset dev -j "$JOBS"
cmake --preset release
cmake --build --preset release -j "$JOBS"
