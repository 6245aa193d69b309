#!/bin/sh
# Builds the optimised suite and starts the stand-alone viewer on the given
# file, or on the bundled sample CT when none is named. The viewer needs an
# X display.
set -eu
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ]; then
    echo "PelivoRun needs an X display: set DISPLAY (for example DISPLAY=:0), or start Xvfb and point DISPLAY at it." >&2
    exit 1
fi
scripts/bootstrap.sh
cmake --preset release
cmake --build --preset release -j "$(nproc)" --target PelivoRun
if [ "$#" -eq 0 ]; then
    set -- build/release/bin/samples/CT-MONO2-16-ankle.dcm
fi
exec build/release/bin/PelivoRun "$@"
