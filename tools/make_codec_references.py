#!/usr/bin/python3
"""Makes the reference checksums the RLE and JPEG 2000 codec tests keep.

Each compressed sample of the corpus is decoded by peer toolkits from Debian
(dcmdrle of dcmtk for RLE, cross-checked with Debian's pydicom;
gdcmconv for JPEG 2000). The decoded pixel data is put into the layout the
codec libraries return (interleaved samples, little endian), split into frames
and summarised by length and 64-bit FNV-1a checksum. The tables are written as
C++ include files beside the tests, which then need no peer toolkit to run.

Usage: tools/make_codec_references.py [corpus folder]
"""

import os
import re
import subprocess
import sys
import tempfile

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_CORPUS = os.path.join(os.path.dirname(SOURCE_DIR), "shared", "corpus")

RLE_FILES = [
    "octave-dicom/US-PAL-8-10x-echo.dcm",
    "pydicom/test_files/MR_small_RLE.dcm",
    "pydicom/test_files/SC_rgb_rle.dcm",
    "pydicom/test_files/SC_rgb_rle_2frame.dcm",
    "pydicom/test_files/SC_rgb_rle_16bit.dcm",
    "pydicom/test_files/SC_rgb_rle_16bit_2frame.dcm",
    "pydicom/test_files/SC_rgb_rle_32bit.dcm",
    "pydicom/test_files/SC_rgb_rle_32bit_2frame.dcm",
    "pydicom/test_files/rtdose_rle.dcm",
    "pydicom/test_files/rtdose_rle_1frame.dcm",
]

J2K_FILES = [
    "pydicom/test_files/693_J2KI.dcm",
    "pydicom/test_files/GDCMJ2K_TextGBR.dcm",
    "pydicom/test_files/J2K_pixelrep_mismatch.dcm",
    "pydicom/test_files/JPEG2000.dcm",
    "pydicom/test_files/MR_small_jp2klossless.dcm",
    "pydicom/test_files/SC_rgb_gdcm_KY.dcm",
]

LOSSLESS_J2K = "1.2.840.10008.1.2.4.90"
COLOUR_PHOTOMETRICS = ("RGB", "YBR_ICT", "YBR_RCT")


def run(*args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def read_attributes(path):
    """Top-level image attributes of a file, read with dcmdump."""
    tags = {
        "0002,0010": "syntax",
        "0028,0002": "samples",
        "0028,0004": "photometric",
        "0028,0006": "planar",
        "0028,0008": "frames",
        "0028,0010": "rows",
        "0028,0011": "columns",
        "0028,0100": "bits",
    }
    args = ["dcmdump", "-q", "-Un"]
    for tag in tags:
        args += ["+P", tag]
    out = subprocess.run(args + [path], check=True, capture_output=True, text=True).stdout
    found = {}
    for line in out.splitlines():
        match = re.match(r"^\((\w{4},\w{4})\) \w\w (\[([^\]]*)\]|(\S+))", line)
        if match and match.group(1) in tags and tags[match.group(1)] not in found:
            value = match.group(3) if match.group(3) is not None else match.group(4)
            found[tags[match.group(1)]] = value.strip()
    found.setdefault("planar", "0")
    found.setdefault("frames", "1")
    return found


def decoded_frames(path, decoder, work):
    """Decodes a file with one peer tool; returns its frames in interleaved layout."""
    out = os.path.join(work, "decoded.dcm")
    raw = os.path.join(work, "decoded.raw")
    for name in (out, raw):
        if os.path.exists(name):
            os.remove(name)
    if decoder == "dcmdrle":
        run("dcmdrle", path, out)
    else:
        run("gdcmconv", "--raw", path, out)
    run("gdcmraw", "-i", out, "-t", "7fe0,0010", "-o", raw)
    attributes = read_attributes(out)
    rows, columns = int(attributes["rows"]), int(attributes["columns"])
    samples, frames = int(attributes["samples"]), int(attributes["frames"])
    sample_bytes = int(attributes["bits"]) // 8
    frame_length = rows * columns * samples * sample_bytes
    with open(raw, "rb") as stream:
        data = stream.read()
    if len(data) < frame_length * frames:
        raise RuntimeError(f"{path}: {decoder} gave {len(data)} bytes, expected {frame_length * frames}")
    result = []
    for index in range(frames):
        frame = data[index * frame_length:(index + 1) * frame_length]
        if samples > 1 and attributes["planar"] == "1":
            frame = interleave(frame, rows * columns, samples, sample_bytes)
        result.append(frame)
    return result, attributes


def pydicom_frames(path):
    """The frames pydicom decodes, in interleaved little-endian layout."""
    import pydicom

    dataset = pydicom.dcmread(path)
    pixels = dataset.pixel_array
    if int(dataset.get("NumberOfFrames", 1)) == 1:
        pixels = pixels[None, ...]
    little = pixels.astype(pixels.dtype.newbyteorder("<"))
    return [frame.tobytes() for frame in little]


def interleave(frame, pixels, samples, sample_bytes):
    plane = pixels * sample_bytes
    out = bytearray(len(frame))
    for pixel in range(pixels):
        for sample in range(samples):
            source = sample * plane + pixel * sample_bytes
            target = (pixel * samples + sample) * sample_bytes
            out[target:target + sample_bytes] = frame[source:source + sample_bytes]
    return bytes(out)


def fnv1a64(data):
    value = 0xCBF29CE484222325
    for byte in data:
        value = ((value ^ byte) * 0x100000001B3) & 0xFFFFFFFFFFFFFFFF
    return value


def header(tool_note):
    return ("// Generated by tools/make_codec_references.py; do not edit.\n"
            f"// Reference pixels decoded by {tool_note}.")


def make_rle_table(corpus, work):
    lines = [header("dcmdrle (dcmtk), cross-checked with pydicom")]
    lines.append("// file, frame count, frame, decoded length, FNV-1a 64 of the decoded frame")
    for name in RLE_FILES:
        path = os.path.join(corpus, name)
        frames, _ = decoded_frames(path, "dcmdrle", work)
        if pydicom_frames(path) != frames:
            raise RuntimeError(f"{name}: dcmtk and pydicom disagree")
        for index, frame in enumerate(frames):
            lines.append(f'{{"{name}", {len(frames)}, {index}, {len(frame)}, '
                         f'0x{fnv1a64(frame):016X}ull}},')
    return "\n".join(lines) + "\n"


def j2k_entry(attributes):
    prefix = "JP2_" if attributes["syntax"] == LOSSLESS_J2K else "JPC_"
    if attributes["photometric"] in COLOUR_PHOTOMETRICS:
        return prefix + "RGBDecode"
    return prefix + ("16BitDecode" if int(attributes["bits"]) > 8 else "8BitDecode")


def make_j2k_table(corpus, work):
    lines = [header("gdcmconv (gdcm)")]
    lines.append("// file, decode entry, rows, columns, decoded length, FNV-1a 64 of the decoded frame")
    for name in J2K_FILES:
        path = os.path.join(corpus, name)
        attributes = read_attributes(path)
        frames, decoded = decoded_frames(path, "gdcmconv", work)
        if len(frames) != 1:
            raise RuntimeError(f"{name}: expected one frame")
        lines.append(f'{{"{name}", "{j2k_entry(attributes)}", {decoded["rows"]}, '
                     f'{decoded["columns"]}, {len(frames[0])}, 0x{fnv1a64(frames[0]):016X}ull}},')
    return "\n".join(lines) + "\n"


def main():
    corpus = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_CORPUS
    targets = {
        os.path.join(SOURCE_DIR, "tests/outside/rle/RleCorpusReferences.inc"): make_rle_table,
        os.path.join(SOURCE_DIR, "tests/outside/jpeg2000/J2kCorpusReferences.inc"): make_j2k_table,
    }
    with tempfile.TemporaryDirectory() as work:
        for target, make in targets.items():
            text = make(corpus, work)
            os.makedirs(os.path.dirname(target), exist_ok=True)
            with open(target, "w") as stream:
                stream.write(text)
            print(f"wrote {os.path.relpath(target, SOURCE_DIR)}")


if __name__ == "__main__":
    main()
