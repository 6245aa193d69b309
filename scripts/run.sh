#!/bin/sh
# Builds the optimised suite and starts the stand-alone viewer on the given
# file, or on a bundled sample when none is named.
set -eu
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
cmake --preset release
cmake --build --preset release -j "$(nproc)"
PROGRAM=build/release/bin/PelivoRun
if [ ! -x "$PROGRAM" ]; then
    echo "The viewer program PelivoRun is not built yet: only its libraries exist so far." >&2
    exit 1
fi
exec "$PROGRAM" "$@"
