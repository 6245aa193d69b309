#!/usr/bin/python3
"""Makes the reference checksums of the DICOM image tests.

Every image file of the corpus manifest is decoded by peer toolkits from
Debian, frame by frame, into native little-endian samples:
- native and deflated data: dcmconv (dcmtk) to explicit VR little endian,
  cross-checked with pydicom, which reads some files otherwise (it expands
  subsampled colour and interleaves colour planes, and it reads 32-bit
  samples of big-endian OW data as 32-bit values where dcmtk and gdcm swap
  the 16-bit words of OW one by one, as the library does);
- RLE and JPEG 2000: the peers of tools/make_codec_references.py;
- JPEG: the peers of tools/jpeg (colour streams coded as YCbCr come out as
  RGB, as the codec library gives them);
- anything else: gdcmconv (gdcm), else pydicom.
Each frame is summarised by its length and 64-bit FNV-1a checksum in a C++
include file beside the tests, which then need no peer toolkit to run.
Files no peer decodes are left out.

Usage: tools/make_image_references.py [corpus folder]
"""

import os
import subprocess
import sys
import tempfile
import warnings

sys.dont_write_bytecode = True
TOOLS_DIR = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [TOOLS_DIR, os.path.join(TOOLS_DIR, "jpeg")]
import jpegpeer  # noqa: E402
import make_codec_references as codec  # noqa: E402

SOURCE_DIR = os.path.dirname(TOOLS_DIR)
DEFAULT_CORPUS = os.path.join(os.path.dirname(SOURCE_DIR), "shared", "corpus")
OUTPUT = os.path.join(SOURCE_DIR, "tests", "Dicom", "High", "ImageCorpusReferences.inc")

NATIVE = ("1.2.840.10008.1.2", "1.2.840.10008.1.2.1", "1.2.840.10008.1.2.2",
          "1.2.840.10008.1.2.1.99")
RLE = "1.2.840.10008.1.2.5"
J2K = ("1.2.840.10008.1.2.4.90", "1.2.840.10008.1.2.4.91")
JPEG = ("1.2.840.10008.1.2.4.50", "1.2.840.10008.1.2.4.51", "1.2.840.10008.1.2.4.53",
        "1.2.840.10008.1.2.4.55", "1.2.840.10008.1.2.4.57", "1.2.840.10008.1.2.4.70")


def run(*args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def image_files(corpus):
    """(file, transfer syntax) of every manifest row that describes an image."""
    with open(os.path.join(corpus, "manifest.tsv")) as manifest:
        header = manifest.readline().rstrip("\n").split("\t")
        for line in manifest:
            row = dict(zip(header, line.rstrip("\n").split("\t")))
            if row["photometric"] and row["frames"]:
                yield row["file"], row["transfer_syntax_uid"]


def frame_length(attributes):
    """Bytes of one native frame: whole bytes per sample, packed bits below 8."""
    samples = int(attributes["rows"]) * int(attributes["columns"]) * int(attributes["samples"])
    bits = int(attributes["bits"])
    return samples * ((bits + 7) // 8) if bits >= 8 else (samples * bits + 7) // 8


def split(data, attributes):
    frames = int(attributes["frames"])
    if frames <= 1:
        return [data[:frame_length(attributes)]]
    length = frame_length(attributes)
    return [data[index * length:(index + 1) * length] for index in range(frames)]


def frame_count(attributes):
    try:
        return max(int(attributes["frames"]), 1)
    except ValueError:
        return 1


def native_frames(path, work):
    """The stored samples by dcmtk, and whether pydicom reads them alike."""
    converted = os.path.join(work, "native.dcm")
    raw = os.path.join(work, "native.raw")
    run("dcmconv", "+te", path, converted)
    run("gdcmraw", "-i", converted, "-t", "7fe0,0010", "-o", raw)
    attributes = codec.read_attributes(converted)
    attributes["frames"] = str(frame_count(attributes))
    frames = split(open(raw, "rb").read(), attributes)
    if int(attributes["bits"]) < 8:
        return frames, "dcmconv"
    try:
        checked = codec.pydicom_frames(path)
    except Exception:  # noqa: BLE001 - pydicom refuses some files dcmtk reads
        return frames, "dcmconv"
    if checked == frames:
        return frames, "dcmconv, pydicom"
    return frames, "dcmconv (pydicom reads otherwise)"


def jpeg_frames(path, attributes):
    stream = jpegpeer.read_stream(path)
    rows, columns, _, components = jpegpeer.frame_size(stream)
    ycbcr = components == 3 and jpegpeer.is_ycbcr_coded(stream)
    pixels, peer = jpegpeer.peer_decode(path, ycbcr)
    sample_bytes = 1 if int(attributes["bits"]) <= 8 else 2
    return [pixels[:rows * columns * components * sample_bytes]], peer


def other_frames(path, work):
    try:
        frames, _ = codec.decoded_frames(path, "gdcmconv", work)
        return frames, "gdcmconv"
    except (subprocess.CalledProcessError, RuntimeError):
        return codec.pydicom_frames(path), "pydicom"


def peer_frames(path, syntax, work):
    if syntax in NATIVE:
        return native_frames(path, work)
    if syntax == RLE:
        frames, _ = codec.decoded_frames(path, "dcmdrle", work)
        return frames, "dcmdrle"
    if syntax in JPEG:
        return jpeg_frames(path, codec.read_attributes(path))
    return other_frames(path, work)


def main():
    warnings.simplefilter("ignore")
    corpus = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_CORPUS
    lines = ["// Generated by tools/make_image_references.py; do not edit.",
             "// Every frame of the corpus's image files as peer toolkits decode it,",
             "// in native little-endian samples.",
             "// file, frame count, frame, length, FNV-1a 64 of the frame"]
    with tempfile.TemporaryDirectory() as work:
        for name, syntax in image_files(corpus):
            path = os.path.join(corpus, name)
            try:
                frames, peer = peer_frames(path, syntax, work)
            except Exception as error:  # noqa: BLE001 - a file no peer decodes is left out
                print(f"left out {name}: {error}")
                continue
            for index, frame in enumerate(frames):
                lines.append(f'{{"{name}", {len(frames)}, {index}, {len(frame)}, '
                             f'0x{codec.fnv1a64(frame):016X}ull}}, // {peer}')
            print(f"{name}: {len(frames)} frames by {peer}")
    with open(OUTPUT, "w") as out:
        out.write("\n".join(lines) + "\n")
    print(f"wrote {os.path.relpath(OUTPUT, SOURCE_DIR)}")


if __name__ == "__main__":
    main()
