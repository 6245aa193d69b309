#!/usr/bin/env python3
"""Renders the corpus CT that the viewer program's screen test shows, as the
peer toolkit renders it: dcmtk's dcm2pnm with the file's own window, scaled
to 128 x 128, as an 8-bit binary PGM under tests/data/pix/.

Run from anywhere with dcmtk installed; the file is committed.
"""
import os
import subprocess

SOURCE_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
CORPUS_DIR = os.path.join(SOURCE_DIR, "..", "shared", "corpus")
OUTPUT = os.path.join(SOURCE_DIR, "tests", "data", "pix", "CT_ankle_window1_128.pgm")


def main():
    source = os.path.join(CORPUS_DIR, "octave-dicom", "CT-MONO2-16-ankle.dcm")
    subprocess.run(["dcm2pnm", "--write-raw-pnm", "--use-window", "1", "--scale-x-size", "128",
                    source, OUTPUT], check=True)


if __name__ == "__main__":
    main()
