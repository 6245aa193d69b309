#!/bin/sh
# Builds every target, the benchmarks included, with the sanitizers on and
# runs every test program; ends with the number of test cases run and failed.
set -eu
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
if [ ! -f ../shared/corpus/manifest.tsv ]; then
    scripts/corpus.sh build/corpus
fi
JOBS="${JOBS:-$(nproc)}"
cmake --preset dev
cmake --build --preset dev -j "$JOBS"
rm -rf build/dev/test-results
status=0
ctest --preset dev -j "$JOBS" || status=$?
python3 scripts/test_summary.py build/dev/test-results
exit "$status"
