#!/usr/bin/python3
"""Makes the reference renderings of the viewer's lookup-table tests.

The linear windows are checked against the renderings that
tools/make_lut_references.py and tools/make_window_references.py already
keep (tests/data/lut, tests/data/pix). This script adds, under
tests/data/viewer_lut/, what those lack, all rendered by dcmtk's dcm2pnm
into 8-bit binary PGM and PPM files:
- the first window of files whose windows are narrow (+Wi 1);
- the sigmoid VOI function (+Wfs) of a CT and an MR for a few windows;
- explicit VOI LUTs: copies of the CT (signed, rescaled: the LUT's first
  mapped value is -1024, in rescaled units) and of the MR (signed, a
  falling LUT) given one VOI LUT item with dcmodify, rendered with +Wl 1.
  The entries follow integer formulas that the tests repeat when they
  build the same item, so the tests need neither the copies nor a peer;
- the PALETTE COLOR echo of the corpus, frame 1, a 128 x 128 part of it,
  as stored (16-bit palette entries) and from a copy whose descriptors say
  8 bits with each entry in the low byte of its word.

Usage: tools/make_viewer_lut_references.py [corpus folder]
"""

import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

TOOLS_DIR = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.path.dirname(TOOLS_DIR)
DEFAULT_CORPUS = os.path.join(os.path.dirname(SOURCE_DIR), "shared", "corpus")
OUTPUT_DIR = os.path.join(SOURCE_DIR, "tests", "data", "viewer_lut")

CT = "pydicom/test_files/CT_small.dcm"
MR = "pydicom/test_files/MR_small.dcm"
PALETTE = "octave-dicom/US-PAL-8-10x-echo.dcm"
PALETTE_CLIP = (150, 250, 128, 128)

# (stem, corpus file, [(centre, width), ...]) for the sigmoid function.
SIGMOIDS = [
    ("CT_small", CT, [(40, 400), (-600, 1500), (0, 60)]),
    ("MR_small", MR, [(600, 1600), (300, 200)]),
]

# (stem, corpus file) rendered with the file's first window.
FILE_WINDOWS = [
    ("CT2_17106", "pydicom/test_files/dicomdirtests/77654033/CT2/17106"),
    ("MR700_4467", "pydicom/test_files/dicomdirtests/98892003/MR700/4467"),
]

LUT_ENTRIES = 4096
LUT_BITS = 12


def rising(i):
    """The CT's LUT: a parabola from 0 to 4095."""
    return i * i // (LUT_ENTRIES - 1)


def falling(i):
    """The MR's LUT: a straight line from 4095 down to 0."""
    return LUT_ENTRIES - 1 - i


# (stem, corpus file, first mapped value as stored, entry formula).
VOI_LUTS = [
    ("CT_small_voi", CT, (-1024) & 0xFFFF, rising),
    ("MR_small_voi", MR, 0, falling),
]


def run(arguments):
    subprocess.run(arguments, check=True)


def output(name):
    path = os.path.join(OUTPUT_DIR, name)
    print(path)
    return path


def write_words(folder, name, words):
    path = os.path.join(folder, name)
    with open(path, "wb") as file:
        file.write(struct.pack("<%dH" % len(words), *words))
    return path


def make_file_windows(corpus):
    for stem, sample in FILE_WINDOWS:
        run(["dcm2pnm", "+Wi", "1", "+op", os.path.join(corpus, sample),
             output("%s_window1.pgm" % stem)])


def make_sigmoids(corpus):
    for stem, sample, windows in SIGMOIDS:
        for centre, width in windows:
            run(["dcm2pnm", "+Wfs", "+Ww", str(centre), str(width), "+op",
                 os.path.join(corpus, sample),
                 output("%s_sigmoid_%d_%d.pgm" % (stem, centre, width))])


def make_voi_luts(corpus, folder):
    for stem, sample, first, formula in VOI_LUTS:
        copy = os.path.join(folder, stem + ".dcm")
        shutil.copyfile(os.path.join(corpus, sample), copy)
        data = write_words(folder, stem + ".lut", [formula(i) for i in range(LUT_ENTRIES)])
        run(["dcmodify", "-nb",
             "-i", "(0028,3010)[0].(0028,3002)=%d\\%d\\%d" % (LUT_ENTRIES, first, LUT_BITS),
             "-i", "(0028,3010)[0].(0028,3003)=TEST",
             "-if", "(0028,3010)[0].(0028,3006)=" + data,
             "-e", "(0028,1050)", "-e", "(0028,1051)", "-imt", copy])
        run(["dcm2pnm", "+Wl", "1", "+op", copy, output(stem + ".pgm")])


def palette_words(sample, element):
    """The 256 words of a palette data element, as dcmdump prints them."""
    text = subprocess.run(["dcmdump", "+L", "+P", element, sample], check=True,
                          capture_output=True, text=True).stdout
    values = re.search(r"OW ([0-9a-f\\]+)", text).group(1).split("\\")
    return [int(value, 16) for value in values]


def make_palettes(corpus, folder):
    sample = os.path.join(corpus, PALETTE)
    clip = ["+C"] + [str(value) for value in PALETTE_CLIP]
    run(["dcm2pnm", "+F", "1"] + clip + ["+op", sample, output("US_PAL_16bit.ppm")])
    copy = os.path.join(folder, "US_PAL_8bit.dcm")
    shutil.copyfile(sample, copy)
    changes = []
    for channel, (descriptor, data) in enumerate(
            [("(0028,1101)", "(0028,1201)"), ("(0028,1102)", "(0028,1202)"),
             ("(0028,1103)", "(0028,1203)")]):
        words = palette_words(sample, data.strip("()"))
        path = write_words(folder, "channel%d" % channel, [word >> 8 for word in words])
        changes += ["-m", descriptor + "=256\\0\\8", "-mf", data + "=" + path]
    run(["dcmodify", "-nb"] + changes + [copy])
    run(["dcm2pnm", "+F", "1"] + clip + ["+op", copy, output("US_PAL_8bit.ppm")])


def main():
    corpus = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_CORPUS
    os.makedirs(OUTPUT_DIR, exist_ok=True)
    make_file_windows(corpus)
    make_sigmoids(corpus)
    with tempfile.TemporaryDirectory() as folder:
        make_voi_luts(corpus, folder)
        make_palettes(corpus, folder)


if __name__ == "__main__":
    main()
