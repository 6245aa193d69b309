#!/usr/bin/env python3
"""Writes the made-up seeds of the viewer image fuzzer into a folder: small
images in explicit VR little endian with what the viewer reads beyond the
pixels, an overlay plane in group 6000, stored measurements of every kind in
group 6001, several frames, a palette and colour planes.
Usage: make_seeds.py <folder>"""
import pathlib
import struct
import sys

LONG_VRS = {b"OB", b"OW", b"SQ", b"UN", b"UT"}


def element(group, elem, vr, value):
    if isinstance(value, str):
        value = value.encode("latin-1")
        if len(value) % 2:
            value += b"\0" if vr == b"UI" else b" "
    head = struct.pack("<HH", group, elem) + vr
    if vr in LONG_VRS:
        return head + b"\0\0" + struct.pack("<I", len(value)) + value
    return head + struct.pack("<H", len(value)) + value


def us(group, elem, value):
    return element(group, elem, b"US", struct.pack("<H", value))


def sequence(group, elem, items):
    body = b""
    for item in items:
        body += struct.pack("<HHI", 0xFFFE, 0xE000, len(item)) + item
    return element(group, elem, b"SQ", body)


def dicom_file(elements):
    syntax = "1.2.840.10008.1.2.1"
    meta = element(0x0002, 0x0001, b"OB", b"\0\1")
    meta += element(0x0002, 0x0002, b"UI", "1.2.840.10008.5.1.4.1.1.7")
    meta += element(0x0002, 0x0003, b"UI", "1.2.826.0.1.3680043.9.7433.1.1")
    meta += element(0x0002, 0x0010, b"UI", syntax)
    header = element(0x0002, 0x0000, b"UL", struct.pack("<I", len(meta)))
    body = b"".join(sorted(elements, key=lambda e: struct.unpack("<HH", e[:4])))
    return b"\0" * 128 + b"DICM" + header + meta + body


def image(rows, columns, bits, photometric, pixels, samples=1, frames=1, extra=()):
    elements = [
        element(0x0008, 0x0016, b"UI", "1.2.840.10008.5.1.4.1.1.7"),
        element(0x0008, 0x0018, b"UI", "1.2.826.0.1.3680043.9.7433.1.1"),
        element(0x0008, 0x0060, b"CS", "OT"),
        element(0x0010, 0x0010, b"PN", "Seed^Viewer"),
        element(0x0010, 0x0030, b"DA", "19700101"),
        element(0x0008, 0x0020, b"DA", "20240117"),
        element(0x0020, 0x000D, b"UI", "1.2.826.0.1.3680043.9.7433.1.2"),
        element(0x0020, 0x000E, b"UI", "1.2.826.0.1.3680043.9.7433.1.3"),
        element(0x0020, 0x0013, b"IS", "1"),
        element(0x0020, 0x0037, b"DS", "1\\0\\0\\0\\1\\0"),
        element(0x0028, 0x0030, b"DS", "0.5\\0.5"),
        us(0x0028, 0x0002, samples),
        element(0x0028, 0x0004, b"CS", photometric),
        us(0x0028, 0x0010, rows),
        us(0x0028, 0x0011, columns),
        us(0x0028, 0x0100, bits),
        us(0x0028, 0x0101, bits),
        us(0x0028, 0x0102, bits - 1),
        us(0x0028, 0x0103, 0),
        element(0x7FE0, 0x0010, b"OW" if bits > 8 else b"OB", pixels),
    ]
    if samples > 1:
        elements.append(us(0x0028, 0x0006, 1))
    if frames > 1:
        elements.append(element(0x0028, 0x0008, b"IS", str(frames)))
    return dicom_file(elements + list(extra))


def ramp(count, modulo=256):
    return bytes(i * 7 % modulo for i in range(count))


def measurement(tag, private):
    document = (
        f'<Measurement value="{tag}">\r\n<DocAttribute>\r\n<Version value="1.0"/>\r\n'
        '</DocAttribute>\r\n<Private>\r\n' + private + '</Private>\r\n<Context>\r\n'
        '<Private>\r\n<Color R="255" G="0" B="0" />\r\n<Shadow value="1" />\r\n'
        '</Private>\r\n</Context>\r\n</Measurement>\r\n')
    item = element(0x6001, 0x0010, b"LO", "TAVUQELM")
    item += element(0x6001, 0x1040, b"LO", "XML")
    item += element(0x6001, 0x10A2, b"LT", document)
    item += element(0x6001, 0x10B0, b"LO", tag)
    return item


def point(name, x, y):
    return f'<{name} X="{x}" Y="{y}" />\r\n'


def seeds():
    overlay = [
        us(0x6000, 0x0010, 16), us(0x6000, 0x0011, 16),
        element(0x6000, 0x0040, b"CS", "G"),
        element(0x6000, 0x0050, b"SS", struct.pack("<hh", 1, 1)),
        us(0x6000, 0x0100, 1), us(0x6000, 0x0102, 0),
        element(0x6000, 0x3000, b"OW", bytes([0x81, 0x42] * 16)),
    ]
    items = [
        measurement("ORoiCalliper", point("P1", 2, 3) + point("P2", 12, 13)),
        measurement("ORoiAngle", point("P1", 8, 8) + point("P2", 14, 8) + point("P3", 8, 2)),
        measurement("ORoiCOBBAngle", point("P1", 1, 4) + point("P2", 6, 4) +
                    point("P3", 1, 5) + point("P4", 6, 0)),
        measurement("ORoiArrow", point("P1", 1, 1) + point("P2", 10, 10)),
        measurement("ORoiEllipseArea", point("Point", 5, 6)),
    ]
    measurements = [element(0x6001, 0x0010, b"LO", "TAVUQELM"), sequence(0x6001, 0x10C0, items)]
    palette = [
        element(0x0028, 0x1101, b"US", struct.pack("<HHH", 256, 0, 8)),
        element(0x0028, 0x1102, b"US", struct.pack("<HHH", 256, 0, 8)),
        element(0x0028, 0x1103, b"US", struct.pack("<HHH", 256, 0, 8)),
        element(0x0028, 0x1201, b"OW", bytes(range(256))),
        element(0x0028, 0x1202, b"OW", bytes(reversed(range(256)))),
        element(0x0028, 0x1203, b"OW", bytes(i ^ 0x55 for i in range(256))),
    ]
    window = [element(0x0028, 0x1050, b"DS", "600"), element(0x0028, 0x1051, b"DS", "1200"),
              element(0x0028, 0x1052, b"DS", "-1024"), element(0x0028, 0x1053, b"DS", "1")]
    return {
        "overlay-plane.dcm": image(16, 16, 8, "MONOCHROME2", ramp(256), extra=overlay),
        "stored-measurements.dcm": image(16, 16, 8, "MONOCHROME2", ramp(256), extra=measurements),
        "three-frames-16bit.dcm": image(8, 12, 16, "MONOCHROME2", ramp(2 * 8 * 12 * 3, 16),
                                        frames=3, extra=window),
        "palette.dcm": image(10, 10, 8, "PALETTE COLOR", ramp(100), extra=palette),
        "rgb-planes-2frames.dcm": image(6, 5, 8, "RGB", ramp(2 * 3 * 30), samples=3, frames=2),
        # Claims far more frames than its three.
        "claims-more-frames.dcm": image(2, 2, 8, "MONOCHROME2", ramp(12), frames=2147483647),
    }


if __name__ == "__main__":
    folder = pathlib.Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    for name, data in seeds().items():
        (folder / name).write_bytes(data)
