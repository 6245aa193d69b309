#!/usr/bin/python3
"""Makes the reference orders of the series sorting test.

pydicom walks the DICOMDIR of the corpus's dicomdirtests folder, reads every
image it refers to, groups the images by Series Instance UID and puts each
series in order by Instance Number and Acquisition Number (as integers) and
by Slice Location (as a number), images without the key counting as 0.
Python's sort keeps images with equal keys in their DICOMDIR order; the test
compares only what a sort fixes: the sequence of keys and which images share
a key. The orders are written as a C++ include file beside the test, which
then needs no peer toolkit to run.

Usage: tools/make_series_sort_references.py [corpus folder]
"""

import os
import sys

import pydicom

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUTPUT = os.path.join(SOURCE_DIR, "tests", "viewer", "model", "SeriesSortReferences.inc")
KEYS = [("InstanceNumber", int), ("AcquisitionNumber", int), ("SliceLocation", float)]


def key_text(dataset, name, convert):
    value = dataset.get(name)
    return repr(convert(value)) if value not in (None, "") else repr(convert(0))


def main():
    corpus = sys.argv[1] if len(sys.argv) > 1 else "/work/shared/corpus"
    folder = os.path.join(corpus, "pydicom", "test_files", "dicomdirtests")
    directory = pydicom.dcmread(os.path.join(folder, "DICOMDIR"))
    series = {}
    for record in directory.DirectoryRecordSequence:
        if record.DirectoryRecordType != "IMAGE":
            continue
        name = "/".join(record.ReferencedFileID)
        dataset = pydicom.dcmread(os.path.join(folder, name), stop_before_pixels=True)
        series.setdefault(str(dataset.SeriesInstanceUID), []).append((name, dataset))
    lines = []
    for uid in sorted(series):
        for key, convert in KEYS:
            ordered = sorted(series[uid], key=lambda item: convert(item[1].get(key) or 0))
            order = ";".join(f"{name}={key_text(ds, key, convert)}" for name, ds in ordered)
            lines.append(f'{{"{uid}", "{key}", "{order}"}},')
    with open(OUTPUT, "w") as out:
        out.write("// Made by tools/make_series_sort_references.py: series, key, and the\n")
        out.write("// images of the series in pydicom's order as file=key.\n")
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
