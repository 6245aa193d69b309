#!/usr/bin/python3
"""Makes JPEG streams with peer encoders, and their reference checksums.

The corpus holds few kinds of JPEG, so this script writes small synthetic
images, compresses them with peer encoders from Debian and keeps the streams
in tests/data/jpeg/ (see the README there):

- dcmtk's dcmcjpeg: 12-bit extended, spectral-selection and progressive DCT;
  8-bit versions of the same; lossless with each of the seven predictors, a
  point transform, 8, 12, 15 and 16 bits, signed and unsigned, grey and RGB;
- pvrg-jpeg: what dcmcjpeg never writes, i.e. restart intervals and lossless
  colour in one scan per component.

Each stream is decoded by dcmtk's dcmdjpeg; the decoded frame's size and
CRC-32 go into tests/outside/jpeg/JpegPeerReferences.inc. Lossless streams
from dcmcjpeg are also checked against their source image here. (pvrg-jpeg
predicts the first sample after a restart marker from the line above instead
of the standard's mid-range value, so dcmtk's decoding, which our decoder
must match, differs from that stream's source image.)

Usage: tools/jpeg/make_peer_streams.py
"""

import os
import subprocess
import sys
import tempfile

import numpy as np
import pydicom
from pydicom.dataset import Dataset, FileMetaDataset
from pydicom.encaps import encapsulate
from pydicom.uid import ExplicitVRLittleEndian, generate_uid

sys.dont_write_bytecode = True
import jpegpeer  # noqa: E402

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DATA_DIR = os.path.join(SOURCE_DIR, "tests", "data", "jpeg")
OUTPUT = os.path.join(SOURCE_DIR, "tests", "outside", "jpeg", "JpegPeerReferences.inc")
LOSSLESS_SV1 = "1.2.840.10008.1.2.4.70"
LOSSLESS = "1.2.840.10008.1.2.4.57"
EXTENDED = "1.2.840.10008.1.2.4.51"


def shade(rows, columns, channel=0):
    """Smooth waves, a disc with a sharp edge and fine noise, in 0..1."""
    y, x = np.mgrid[0:rows, 0:columns].astype(float)
    y += 7 * channel
    value = 0.5 + 0.3 * np.sin(y * 0.11) * np.cos(x * 0.07 + channel)
    disc = (y - 7 * channel - rows / 2) ** 2 + (x - columns / 2) ** 2 < (0.3 * min(rows, columns)) ** 2
    value += 0.15 * disc
    noise = ((np.arange(rows * columns).reshape(rows, columns) * 2654435761) >> 24) % 256
    return np.clip(value + (noise / 255.0 - 0.5) * 0.04, 0, 1)


def grey(rows, columns, bits, signed=False):
    low, high = (-(1 << (bits - 1)), (1 << (bits - 1)) - 1) if signed else (0, (1 << bits) - 1)
    image = np.round(low + shade(rows, columns) * (high - low)).astype(np.int64)
    image[0, 0], image[0, 1] = low, high
    return image.astype(np.int16 if signed else (np.uint8 if bits <= 8 else np.uint16))


def rgb(rows, columns):
    return np.stack([np.round(shade(rows, columns, c) * 255) for c in range(3)],
                    axis=-1).astype(np.uint8)


def make_dataset(image, bits, signed, syntax):
    meta = FileMetaDataset()
    meta.MediaStorageSOPClassUID = "1.2.840.10008.5.1.4.1.1.7"
    meta.MediaStorageSOPInstanceUID = generate_uid()
    meta.TransferSyntaxUID = syntax
    ds = Dataset()
    ds.file_meta = meta
    ds.is_little_endian = True
    ds.is_implicit_VR = False
    ds.SOPClassUID = meta.MediaStorageSOPClassUID
    ds.SOPInstanceUID = meta.MediaStorageSOPInstanceUID
    ds.PatientName = "Synthetic^Test"
    ds.PatientID = "0"
    ds.Modality = "OT"
    ds.StudyInstanceUID = generate_uid()
    ds.SeriesInstanceUID = generate_uid()
    ds.Rows, ds.Columns = image.shape[0], image.shape[1]
    colour = image.ndim == 3
    ds.SamplesPerPixel = 3 if colour else 1
    ds.PhotometricInterpretation = "RGB" if colour else "MONOCHROME2"
    if colour:
        ds.PlanarConfiguration = 0
    ds.BitsAllocated = 8 if bits <= 8 else 16
    ds.BitsStored = bits
    ds.HighBit = bits - 1
    ds.PixelRepresentation = 1 if signed else 0
    return ds


def write_native(path, image, bits, signed):
    ds = make_dataset(image, bits, signed, ExplicitVRLittleEndian)
    ds.PixelData = image.astype(image.dtype.newbyteorder("<")).tobytes()
    ds.save_as(path, write_like_original=False)


def write_encapsulated(path, stream, image, bits, syntax, signed=False):
    ds = make_dataset(image, bits, signed, syntax)
    ds.PixelData = encapsulate([stream])
    ds["PixelData"].VR = "OB"
    ds["PixelData"].is_undefined_length = True
    ds.save_as(path, write_like_original=False)


def dcmcjpeg(work, image, bits, signed, options):
    source = os.path.join(work, "source.dcm")
    target = os.path.join(work, "target.dcm")
    write_native(source, image, bits, signed)
    subprocess.run(["dcmcjpeg"] + options + [source, target], check=True)
    return target


def pvrg(work, image, bits, syntax, options):
    """pvrg-jpeg reads one raw big-endian file per component."""
    planes = [image] if image.ndim == 2 else [image[:, :, c] for c in range(3)]
    arguments = ["pvrg-jpeg", "-iw", str(image.shape[1]), "-ih", str(image.shape[0]),
                 "-p", str(bits)] + options + ["-s", os.path.join(work, "pvrg.jpg")]
    for index, plane in enumerate(planes):
        raw = os.path.join(work, "plane%d.raw" % index)
        plane.astype(">u2" if bits > 8 else np.uint8).tofile(raw)
        arguments += ["-ci", str(index + 1), raw] if len(planes) > 1 else [raw]
    subprocess.run(arguments, check=True, stdout=subprocess.DEVNULL)
    stream = open(os.path.join(work, "pvrg.jpg"), "rb").read()
    target = os.path.join(work, "target.dcm")
    write_encapsulated(target, stream, image, bits, syntax)
    return target


G8, G12, G15 = grey(53, 77, 8), grey(53, 77, 12), grey(41, 37, 15)
G16, G16S, RGB8 = grey(41, 37, 16), grey(41, 37, 16, signed=True), rgb(53, 77)

# name, entry, encoder, image, bits, signed, options, lossless (check the source)
STREAMS = [
    ("grey12_extended", "JPEGExtendedProc_12BitDecode", dcmcjpeg, G12, 12, False, ["+ee"], False),
    ("grey12_bandsel", "JPEGSpectralProc_12BitDecode", dcmcjpeg, G12, 12, False, ["+es"], False),
    ("grey12_progressive", "JPEGFullProgress_12BitDecode", dcmcjpeg, G12, 12, False,
     ["+ep", "+q", "75"], False),
    ("grey12_extended_restart", "JPEGExtendedProc_12BitDecode", pvrg, G12, 12, EXTENDED,
     ["-r", "5"], False),
    ("grey8_extended", "JPEGExtendedProc_8BitDecode", dcmcjpeg, G8, 8, False, ["+ee"], False),
    ("grey8_bandsel", "JPEGSpectralProc_8BitDecode", dcmcjpeg, G8, 8, False, ["+es"], False),
    ("grey8_progressive", "JPEGFullProgress_8BitDecode", dcmcjpeg, G8, 8, False, ["+ep"], False),
    ("rgb8_progressive_ybr422", "JPEGFullProgress_RGBDecode", dcmcjpeg, RGB8, 8, False,
     ["+ep"], False),
    ("grey8_lossless_sv5", "JPEGProc14_8BitDecode", dcmcjpeg, G8, 8, False,
     ["+el", "+sv", "5"], True),
    ("grey12_lossless_sv1", "JPEGProc14SV1_16BitDecode", dcmcjpeg, G12, 12, False, ["+e1"], True),
    ("grey12_lossless_pt2", "JPEGProc14_16BitDecode", dcmcjpeg, G12, 12, False,
     ["+el", "+sv", "1", "+pt", "2"], False),
    ("grey15_lossless_sv1", "JPEGProc14_16BitDecode", dcmcjpeg, G15, 15, False, ["+e1"], True),
    ("grey16s_lossless_sv6", "JPEGProc14_16BitDecode", dcmcjpeg, G16S, 16, True,
     ["+el", "+sv", "6"], True),
    ("rgb8_lossless_sv1", "JPEGProc14SV1_RGBDecode", dcmcjpeg, RGB8, 8, False, ["+e1"], True),
    ("rgb8_lossless_sv7", "JPEGProc14_RGBDecode", dcmcjpeg, RGB8, 8, False,
     ["+el", "+sv", "7"], True),
    ("grey12_lossless_restart", "JPEGProc14_16BitDecode", pvrg, G12, 12, LOSSLESS,
     ["-k", "1", "-r", "77"], False),
    ("rgb8_lossless_planes", "JPEGProc14_RGBDecode", pvrg, RGB8, 8, LOSSLESS,
     ["-k", "4", "-n"], True),
] + [("grey16_lossless_sv%d" % sv, "JPEGProc14_16BitDecode", dcmcjpeg, G16, 16, False,
      ["+el", "+sv", str(sv)], True) for sv in range(1, 8)]


def main():
    os.makedirs(DATA_DIR, exist_ok=True)
    lines = []
    with tempfile.TemporaryDirectory() as work:
        for name, entry, encoder, image, bits, extra, options, lossless in STREAMS:
            path = encoder(work, image, bits, extra, options)
            stream = jpegpeer.read_stream(path)
            rows, columns, _, components = jpegpeer.frame_size(stream)
            ycbcr = components == 3 and jpegpeer.is_ycbcr_coded(stream)
            pixels, peer = jpegpeer.peer_decode(path, ycbcr)
            # Pixel data of odd length carries one padding byte.
            pixels = pixels[:rows * columns * components * (1 if bits <= 8 else 2)]
            if lossless and pixels != image.astype(image.dtype.newbyteorder("<")).tobytes():
                raise RuntimeError(name + ": the peer does not give the source back")
            with open(os.path.join(DATA_DIR, name + ".jpg"), "wb") as out:
                out.write(stream)
            lines.append('    {"%s", "%s", %d, %d, %d, 0x%08Xu},' % (
                name, entry, rows, columns, len(pixels), jpegpeer.crc32(pixels)))
            print(lines[-1], encoder.__name__, " ".join(options), peer)
    with open(OUTPUT, "w") as out:
        out.write("// Generated by tools/jpeg/make_peer_streams.py: streams of tests/data/jpeg\n"
                  "// made by peer encoders, the entry that decodes each, and dcmtk's decoding.\n"
                  "// stream, entry, rows, columns, length, CRC-32\n")
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
