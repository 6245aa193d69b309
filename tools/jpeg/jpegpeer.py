"""Helpers shared by the JPEG reference scripts: pulling the JPEG stream out of
a DICOM file, reading a stream's colour coding, and decoding a DICOM file with
the peer toolkits from Debian (dcmtk's dcmdjpeg, else gdcm's gdcmconv) into the
pixel layout the Quorex entries return.
"""

import os
import struct
import subprocess
import tempfile
import zlib

ITEM = 0xE000FFFE
SEQUENCE_END = 0xE0DDFFFE


def read_fragments(path):
    """The fragments of the last encapsulated pixel data element of a file."""
    data = open(path, "rb").read()
    headers = (b"\xe0\x7f\x10\x00OB\x00\x00\xff\xff\xff\xff",
               b"\xe0\x7f\x10\x00OW\x00\x00\xff\xff\xff\xff",
               b"\xe0\x7f\x10\x00\xff\xff\xff\xff")
    found = max((data.rfind(h), len(h)) for h in headers)
    if found[0] < 0:
        raise ValueError("no encapsulated pixel data in " + path)
    pos = found[0] + found[1]
    items = []
    while pos + 8 <= len(data):
        tag, length = struct.unpack_from("<II", data, pos)
        pos += 8
        if tag == SEQUENCE_END:
            break
        if tag != ITEM:
            raise ValueError("bad item in " + path)
        items.append(data[pos:pos + length])
        pos += length
    return items[1:]


def read_stream(path):
    """The JPEG stream of a single-frame file: its fragments joined."""
    return b"".join(read_fragments(path))


def walk_segments(stream):
    """(marker, payload) pairs of the header segments, up to the first scan."""
    pos = 2
    while pos + 4 <= len(stream):
        if stream[pos] != 0xFF:
            pos += 1
            continue
        code = stream[pos + 1]
        if code in (0xFF, 0x00) or 0xD0 <= code <= 0xD8 or code == 0x01:
            pos += 1 if code == 0xFF else 2
            continue
        length = stream[pos + 2] << 8 | stream[pos + 3]
        yield code, stream[pos + 4:pos + 2 + length]
        if code == 0xDA:
            return
        pos += 2 + length


def is_ycbcr_coded(stream):
    """Whether a three-component DCT stream holds YCbCr: a JFIF marker, an
    Adobe marker with transform 1, or, with neither, component ids 1, 2, 3."""
    jfif = adobe = None
    ids = None
    for code, payload in walk_segments(stream):
        if code == 0xE0 and payload[:5] == b"JFIF\x00":
            jfif = True
        elif code == 0xEE and payload[:5] == b"Adobe" and len(payload) >= 12:
            adobe = payload[11]
        elif code == 0xC3:
            return False
        elif 0xC0 <= code <= 0xCF and code not in (0xC4, 0xC8, 0xCC):
            ids = [payload[6 + 3 * k] for k in range(payload[5])]
    if jfif:
        return True
    if adobe is not None:
        return adobe != 0
    return ids == [1, 2, 3]


def run(*args):
    return subprocess.run(args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode


def peer_decode(path, ycbcr):
    """The decoded pixel bytes of a compressed DICOM file (interleaved samples,
    little endian), and the peer that made them."""
    with tempfile.TemporaryDirectory() as work:
        decoded = os.path.join(work, "decoded.dcm")
        raw = os.path.join(work, "pixels.raw")
        peer = "dcmdjpeg"
        if run("dcmdjpeg", "+ca" if ycbcr else "+cn", "+px", path, decoded) != 0:
            # gdcm never converts colour, so it serves only where none is due.
            if ycbcr:
                raise RuntimeError("no peer decodes " + path)
            peer = "gdcmconv"
            if run("gdcmconv", "--raw", path, decoded) != 0:
                raise RuntimeError("no peer decodes " + path)
        if run("gdcmraw", "-i", decoded, "-t", "7fe0,0010", "-o", raw) != 0:
            raise RuntimeError("cannot extract the pixels of " + decoded)
        return open(raw, "rb").read(), peer


def crc32(data):
    return zlib.crc32(data) & 0xFFFFFFFF


def frame_size(stream):
    """(rows, columns, precision, components) of a stream's frame header."""
    for code, payload in walk_segments(stream):
        if 0xC0 <= code <= 0xCF and code not in (0xC4, 0xC8, 0xCC):
            return (payload[1] << 8 | payload[2], payload[3] << 8 | payload[4],
                    payload[0], payload[5])
    raise ValueError("no frame header")
