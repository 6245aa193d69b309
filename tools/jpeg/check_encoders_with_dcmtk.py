#!/usr/bin/python3
"""Checks that dcmtk decodes what the Quorex encode entries write.

Calls every encode entry of a built libQuorex.so (through ctypes, so use a
build without sanitizers, e.g. the release preset) on synthetic images, wraps
each stream in a DICOM file of the matching transfer syntax, decodes it with
dcmtk's dcmdjpeg and compares: lossless streams must give the source back
exactly; lossy ones must give exactly what our own decode entry gives, and
the source within the error reported.

Usage: tools/jpeg/check_encoders_with_dcmtk.py build/release/bin/libQuorex.so
"""

import ctypes
import os
import sys
import tempfile

import numpy as np

sys.dont_write_bytecode = True
import jpegpeer  # noqa: E402
import make_peer_streams as peers  # noqa: E402

SYNTAXES = {
    "JPEGBaseline": "1.2.840.10008.1.2.4.50",
    "JPEGExtendedProc": "1.2.840.10008.1.2.4.51",
    "JPEGSpectralProc": "1.2.840.10008.1.2.4.53",
    "JPEGFullProgress": "1.2.840.10008.1.2.4.55",
    "JPEGProc14": "1.2.840.10008.1.2.4.57",
    "JPEGProc14SV1": "1.2.840.10008.1.2.4.70",
}

# prefix, layout, image, bits stored, signed
CASES = [(prefix, layout, image, bits, signed)
         for prefix in ("JPEGBaseline", "JPEGExtendedProc", "JPEGSpectralProc", "JPEGFullProgress")
         for layout, image, bits, signed in (("8Bit", peers.G8, 8, False),
                                             ("RGB", peers.RGB8, 8, False),
                                             ("12Bit", peers.G12, 12, False))
         if not (prefix == "JPEGBaseline" and layout == "12Bit")] + [
    (prefix, layout, image, bits, signed)
    for prefix in ("JPEGProc14", "JPEGProc14SV1")
    for layout, image, bits, signed in (("8Bit", peers.G8, 8, False),
                                        ("RGB", peers.RGB8, 8, False),
                                        ("16Bit", peers.G12, 12, False),
                                        ("16Bit", peers.G15, 15, False),
                                        ("16Bit", peers.G16, 16, False),
                                        ("16Bit", peers.grey(41, 37, 12, signed=True), 12, True),
                                        ("16Bit", peers.G16S, 16, True))]


class Quorex:
    def __init__(self, path):
        self.library = ctypes.CDLL(path)

    def call(self, name, *arguments):
        entry = getattr(self.library, name)
        entry.restype = ctypes.POINTER(ctypes.c_ubyte)
        return entry(*arguments)

    def take(self, pointer, length):
        data = bytes(ctypes.cast(pointer, ctypes.POINTER(ctypes.c_ubyte * length)).contents)
        self.library.jpgdel(pointer)
        return data

    def encode(self, name, raw, rows, columns, quality=None):
        length = ctypes.c_int()
        arguments = [raw, rows, columns] + ([quality] if quality is not None else [])
        pointer = self.call(name, *arguments, ctypes.byref(length))
        return self.take(pointer, length.value) if pointer else None

    def decode(self, name, stream, bytes_per_pixel):
        rows, columns = ctypes.c_int(), ctypes.c_int()
        pointer = self.call(name, stream, ctypes.byref(rows), ctypes.byref(columns), len(stream))
        return self.take(pointer, rows.value * columns.value * bytes_per_pixel) if pointer else None


def little_endian(image):
    return image.astype(image.dtype.newbyteorder("<")).tobytes()


def compare(a, b, wide):
    x = np.frombuffer(a, "<u2" if wide else np.uint8).astype(int)
    y = np.frombuffer(b, "<u2" if wide else np.uint8).astype(int)
    return np.abs(x - y).max(), np.abs(x - y).mean()


def main():
    quorex = Quorex(sys.argv[1])
    failures = 0
    with tempfile.TemporaryDirectory() as work:
        for prefix, layout, image, bits, signed in CASES:
            name = "%s_%s" % (prefix, layout)
            lossless = prefix.startswith("JPEGProc14")
            raw = little_endian(image)
            rows, columns = image.shape[0], image.shape[1]
            stream = quorex.encode(name + "Encode", raw, rows, columns,
                                   None if lossless else 90)
            path = os.path.join(work, "encoded.dcm")
            peers.write_encapsulated(path, stream, image, bits, SYNTAXES[prefix], signed)
            pixels, _ = jpegpeer.peer_decode(path, False)
            pixels = pixels[:len(raw)]
            wide = bits > 8
            if lossless:
                ok = pixels == raw
                result = "exact" if ok else "DIFFERS"
            else:
                ours = quorex.decode(name + "Decode", stream, 3 if layout == "RGB" else 1 + wide)
                ok = ours == pixels
                error = compare(raw, pixels, wide)
                result = "%s our decoder; source max %d mean %.2f" % (
                    "same as" if ok else "DIFFERS from", error[0], error[1])
            failures += not ok
            print("%-34s %2d bits%s %6d bytes  dcmdjpeg: %s" % (
                name + "Encode", bits, " signed" if signed else "       ", len(stream), result))
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
