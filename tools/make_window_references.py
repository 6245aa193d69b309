#!/usr/bin/python3
"""Makes the reference renderings of the end-to-end window/level tests.

A MONOCHROME2 MR (signed samples) and a MONOCHROME1 CR (12-bit samples with
a rescale slope of 0.684 and an intercept of 200) of the sample corpus are
rendered by dcmtk's dcm2pnm with the linear VOI function of DICOM for each
window below, into 8-bit binary PGM files under tests/data/pix/ named after
the file and the window. dcm2pnm shows MONOCHROME1 inverted, as a viewer
does. The tests render the same files through ImageProcess (Remap and
SaveAsWindowsBitmap) and compare every pixel, so they need no peer toolkit
to run.

It also prints the FNV-1a 64 checksum of the R, G, B bytes dcm2pnm writes
for frame 0 of a palette colour echo; the test keeps that number.

Usage: tools/make_window_references.py [corpus folder]
"""

import os
import subprocess
import sys

TOOLS_DIR = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.path.dirname(TOOLS_DIR)
DEFAULT_CORPUS = os.path.join(os.path.dirname(SOURCE_DIR), "shared", "corpus")
OUTPUT_DIR = os.path.join(SOURCE_DIR, "tests", "data", "pix")

# (corpus path, stem, [(centre, width), ...]): the file's own window first,
# then a narrow window with an odd width, one reaching past the stored
# range, and one of fractions.
SAMPLES = [
    ("pydicom/test_files/MR_small.dcm", "MR_small",
     [(600, 1600), (300, 801), (2000, 10000), (450.5, 900.5)]),
    ("pydicom/test_files/dicomdirtests/77654033/CR1/6154", "CR_6154",
     [(1600, 2800), (1000, 501), (3000, 8000)]),
]


def render(source, stem, centre, width):
    target = os.path.join(OUTPUT_DIR, "%s_%g_%g.pgm" % (stem, centre, width))
    subprocess.run(["dcm2pnm", "+Wfl", "+Ww", str(centre), str(width), "+op", source, target],
                   check=True)
    print(target)


PALETTE_SAMPLE = "octave-dicom/US-PAL-8-10x-echo.dcm"


def palette_checksum(source):
    target = os.path.join(OUTPUT_DIR, "palette.ppm")
    subprocess.run(["dcm2pnm", "+F", "1", source, target], check=True)
    with open(target, "rb") as ppm:
        data = ppm.read()
    os.remove(target)
    pixels = data.split(b"\n", 3)[3]
    value = 0xCBF29CE484222325
    for byte in pixels:
        value = ((value ^ byte) * 0x100000001B3) & 0xFFFFFFFFFFFFFFFF
    print("%s frame 0 colours: 0x%016X" % (PALETTE_SAMPLE, value))


def main():
    corpus = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_CORPUS
    os.makedirs(OUTPUT_DIR, exist_ok=True)
    for path, stem, windows in SAMPLES:
        for centre, width in windows:
            render(os.path.join(corpus, path), stem, centre, width)
    palette_checksum(os.path.join(corpus, PALETTE_SAMPLE))


if __name__ == "__main__":
    main()
