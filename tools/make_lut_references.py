#!/usr/bin/python3
"""Makes the reference renderings of the window/level tests.

A MONOCHROME2 CT of the sample corpus is rendered by dcmtk's dcm2pnm with
the linear VOI function of DICOM for each window below, into 8-bit binary
PGM files under tests/data/lut/, named after the window. The tests map the
file's stored samples through LookupTable and compare every pixel, so they
need no peer toolkit to run.

Usage: tools/make_lut_references.py [corpus folder]
"""

import os
import subprocess
import sys

TOOLS_DIR = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.path.dirname(TOOLS_DIR)
DEFAULT_CORPUS = os.path.join(os.path.dirname(SOURCE_DIR), "shared", "corpus")
OUTPUT_DIR = os.path.join(SOURCE_DIR, "tests", "data", "lut")

SAMPLE = "pydicom/test_files/CT_small.dcm"
STEM = "CT_small"

# (centre, width): soft tissue, lung, a window reaching past both ends of
# the stored range, an odd width, and the narrowest window (a threshold).
WINDOWS = [(40, 400), (-600, 1500), (2000, 6000), (35, 101), (100, 1)]


def render(source, centre, width):
    target = os.path.join(OUTPUT_DIR, "%s_%d_%d.pgm" % (STEM, centre, width))
    subprocess.run(["dcm2pnm", "+Wfl", "+Ww", str(centre), str(width), "+op", source, target],
                   check=True)
    print(target)


def main():
    corpus = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_CORPUS
    source = os.path.join(corpus, SAMPLE)
    os.makedirs(OUTPUT_DIR, exist_ok=True)
    for centre, width in WINDOWS:
        render(source, centre, width)


if __name__ == "__main__":
    main()
