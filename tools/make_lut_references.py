#!/usr/bin/python3
"""Makes the reference renderings of the window/level tests.

A MONOCHROME2 CT of the sample corpus is rendered by dcmtk's dcm2pnm with
the linear VOI function of DICOM for each window below, into 8-bit binary
PGM files under tests/data/lut/, named after the variant and the window.
Two variants are made from a copy of the file with dcmtk's dcmodify: one
with a fractional rescale (its calibrated values are not whole numbers),
one labelled MONOCHROME1 (the inverted presentation). The tests map the
file's stored samples through LookupTable with the variant's rescale and
compare every pixel, so they need no peer toolkit to run.

Usage: tools/make_lut_references.py [corpus folder]
"""

import os
import shutil
import subprocess
import sys
import tempfile

TOOLS_DIR = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.path.dirname(TOOLS_DIR)
DEFAULT_CORPUS = os.path.join(os.path.dirname(SOURCE_DIR), "shared", "corpus")
OUTPUT_DIR = os.path.join(SOURCE_DIR, "tests", "data", "lut")

SAMPLE = "pydicom/test_files/CT_small.dcm"
STEM = "CT_small"

# (variant, elements changed, windows as (centre, width)). The plain file:
# soft tissue, lung, a window reaching past both ends of the stored range,
# an odd width, and the narrowest window (a threshold).
VARIANTS = [
    ("", [], [(40, 400), (-600, 1500), (2000, 6000), (35, 101), (100, 1)]),
    ("_rescaled", ["(0028,1053)=0.7", "(0028,1052)=-1024.3"], [(-500, 800), (-300, 201)]),
    ("_mono1", ["(0028,0004)=MONOCHROME1"], [(40, 400), (2000, 6000)]),
]


def render(source, name, centre, width):
    target = os.path.join(OUTPUT_DIR, "%s%s_%d_%d.pgm" % (STEM, name, centre, width))
    subprocess.run(["dcm2pnm", "+Wfl", "+Ww", str(centre), str(width), "+op", source, target],
                   check=True)
    print(target)


def main():
    corpus = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_CORPUS
    os.makedirs(OUTPUT_DIR, exist_ok=True)
    with tempfile.TemporaryDirectory() as folder:
        for name, changes, windows in VARIANTS:
            source = os.path.join(folder, STEM + name + ".dcm")
            shutil.copyfile(os.path.join(corpus, SAMPLE), source)
            for change in changes:
                subprocess.run(["dcmodify", "-nb", "-m", change, source], check=True)
            for centre, width in windows:
                render(source, name, centre, width)


if __name__ == "__main__":
    main()
