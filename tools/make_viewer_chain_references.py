#!/usr/bin/python3
"""Makes the reference renderings of the rendering-chain corpus test.

Every image file of the corpus manifest that dcmtk decodes, with 8 to 16
bits allocated, is rendered by dcmtk's dcmj2pnm (which reads the native,
RLE and JPEG transfer syntaxes) as the viewer shows a frame at 1:1: frame 1,
grey images through the file's first window (+Wi 1), or through the
min-max window of the samples when the file has none (+Wm), MONOCHROME1
inverted, palette and colour images as they are (JPEG colour streams turned
into RGB exactly when their markers say YCbCr, see tools/jpeg/jpegpeer.py). Each rendering is kept as a
gzip-compressed binary PGM (grey) or PPM (colour) file under
tests/data/viewer_chain/, and the list of them as a C++ include file beside
the test, which then needs no peer toolkit to run.

Usage: tools/make_viewer_chain_references.py [corpus folder]
"""

import csv
import gzip
import os
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True
TOOLS_DIR = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [os.path.join(TOOLS_DIR, "jpeg")]
import jpegpeer  # noqa: E402

SOURCE_DIR = os.path.dirname(TOOLS_DIR)
DEFAULT_CORPUS = os.path.join(os.path.dirname(SOURCE_DIR), "shared", "corpus")
OUTPUT_DIR = os.path.join(SOURCE_DIR, "tests", "data", "viewer_chain")
LIST_FILE = os.path.join(SOURCE_DIR, "tests", "viewer", "model", "ChainCorpusReferences.inc")

GREY = ("MONOCHROME1", "MONOCHROME2")


def wanted(row):
    """Image files the peer decodes, of 8 to 16 bits allocated."""
    if not row["dcm2pnm_decode"].startswith("ok"):
        return False
    bits = row["bits_alloc/stored"].split("/")[0]
    return bits.isdigit() and 8 <= int(bits) <= 16


def has_window(path):
    text = subprocess.run(["dcmdump", "-q", "+P", "0028,1050", path], capture_output=True,
                          text=True).stdout
    return "(0028,1050)" in text and "no value" not in text


def render(path, photometric, syntax, target):
    options = ["+F", "1", "+op"]
    if photometric in GREY:
        options += ["+Wi", "1"] if has_window(path) else ["+Wm"]
    elif syntax.startswith("JPEG") and "2000" not in syntax:
        # A colour stream comes out as RGB exactly when its own markers say
        # it holds YCbCr, as the codec library decides too, whatever the
        # data set's photometric interpretation claims.
        ycbcr = jpegpeer.is_ycbcr_coded(jpegpeer.read_stream(path))
        options += ["+ca"] if ycbcr else ["+cn"]
    subprocess.run(["dcmj2pnm"] + options + [path, target], check=True,
                   stderr=subprocess.DEVNULL)


def main():
    corpus = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_CORPUS
    os.makedirs(OUTPUT_DIR, exist_ok=True)
    entries = []
    with open(os.path.join(corpus, "manifest.tsv"), newline="") as manifest:
        rows = [row for row in csv.DictReader(manifest, delimiter="\t") if wanted(row)]
    with tempfile.TemporaryDirectory() as folder:
        for row in rows:
            name = row["file"]
            photometric = row["photometric"]
            stem = name.replace("/", "_").replace("+", "p")
            extension = ".pgm" if photometric in GREY else ".ppm"
            rendered = os.path.join(folder, stem + extension)
            try:
                render(os.path.join(corpus, name), photometric, row["transfer_syntax"], rendered)
            except subprocess.CalledProcessError:
                print("not rendered: " + name)
                continue
            reference = stem + extension + ".gz"
            with open(rendered, "rb") as source:
                data = source.read()
            with gzip.GzipFile(os.path.join(OUTPUT_DIR, reference), "wb", mtime=0) as target:
                target.write(data)
            entries.append((name, reference))
            print(reference)
    with open(LIST_FILE, "w") as listing:
        listing.write("// Made by tools/make_viewer_chain_references.py: corpus file and the\n")
        listing.write("// peer's rendering of its first frame under tests/data/viewer_chain.\n")
        for name, reference in entries:
            listing.write('{"%s", "%s"},\n' % (name, reference))


if __name__ == "__main__":
    main()
