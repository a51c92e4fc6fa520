#!/usr/bin/env python3
"""Builds the language flag icons and their Qt resource file.

The source images are the public-domain famfamfam flags as Debian ships them
(package famfamfam-flag-png), 16x11 pixels and named by lower-case country
code. Each image is centred on a transparent 16x16 canvas, because the
language selector draws square images, then every pixel is doubled (a sharp,
nearest-neighbour scaling) into 32x32, and written as resources/flags/XX.png.
The program shows them at 16x16 logical pixels: crisp on a screen scaled by
two, and exactly the 16x16 original where a pixel is a pixel. EN is the flag
of the United Kingdom.

Usage: tools/make_flags.py [SOURCE_DIR] [OUTPUT_DIR]
Only the Python standard library is used, so the script runs anywhere.
"""

import struct
import sys
import zlib
from pathlib import Path

DEFAULT_SOURCE = Path("/usr/share/flags/countries/16x11")
DEFAULT_OUTPUT = Path(__file__).resolve().parent.parent / "resources" / "flags"
SIZE = 16
SCALE = 2

CODES = """
AD AE AF AG AI AL AM AN AO AR AS AT AU AW AX AZ BA BB BD BE BF BG BH BI BJ BM
BN BO BR BS BT BV BW BY BZ CA CC CD CF CG CH CI CK CL CM CN CO CR CS CU CV CX
CY CZ DE DJ DK DM DO DZ EC EE EG EH EN ER ES ET FI FJ FK FM FO FR GA GD GE GF
GH GI GL GM GN GP GQ GR GS GT GU GW GY HK HM HN HR HT HU ID IE IL IN IO IQ IR
IS IT JM JO JP KE KG KH KI KM KN KP KR KW KY KZ LA LB LC LI LK LR LS LT LU LV
LY MA MC MD ME MG MH MK ML MM MN MO MP MQ MR MS MT MU MV MW MX MY MZ NA NC NE
NF NG NI NL NO NP NR NU NZ OM PA PE PF PG PH PK PL PM PN PR PS PT PW PY QA RE
RO RS RU RW SA SB SC SD SE SG SH SI SJ SK SL SM SN SO SR ST SV SY SZ TC TD TF
TG TH TJ TK TL TM TN TO TR TT TV TW TZ UA UG UM US UY UZ VA VC VE VG VI VN VU
WF WS YE YT ZA ZM ZW
""".split()

# Codes whose image has another file name in the source package.
SOURCE_NAME = {"EN": "gb"}

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def read_chunks(data):
    if data[:8] != PNG_SIGNATURE:
        raise ValueError("not a PNG file")
    pos = 8
    while pos + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if len(body) != length:
            raise ValueError("truncated chunk")
        yield kind, body
        pos += 12 + length


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def unfilter(raw, width, height, bpp):
    stride = width * bpp
    rows, prev, pos = [], bytearray(stride), 0
    for _ in range(height):
        kind = raw[pos]
        line = bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        for i in range(stride):
            left = line[i - bpp] if i >= bpp else 0
            up = prev[i]
            upleft = prev[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + ((left + up) >> 1)) & 0xFF
            elif kind == 4:
                line[i] = (line[i] + paeth(left, up, upleft)) & 0xFF
            elif kind != 0:
                raise ValueError("unknown filter type %d" % kind)
        rows.append(line)
        prev = line
    return rows


def read_rgba(path):
    """Returns (width, height, rows of RGBA bytes) of an 8-bit RGB or RGBA PNG."""
    header, idat, transparent = None, b"", None
    for kind, body in read_chunks(path.read_bytes()):
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"tRNS":
            transparent = body
    if header is None:
        raise ValueError("%s: no header" % path)
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        raise ValueError("%s: only 8-bit RGB/RGBA without interlacing is handled" % path)
    bpp = 3 if colour == 2 else 4
    rows = unfilter(zlib.decompress(idat), width, height, bpp)
    if bpp == 4:
        return width, height, [bytes(r) for r in rows]
    key = struct.unpack(">HHH", transparent) if transparent and len(transparent) == 6 else None
    out = []
    for r in rows:
        line = bytearray()
        for x in range(width):
            rgb = tuple(r[3 * x:3 * x + 3])
            line += bytes(rgb) + (b"\x00" if key and rgb == key else b"\xff")
        out.append(bytes(line))
    return width, height, out


def pad_square(width, height, rows):
    if width > SIZE or height > SIZE:
        raise ValueError("image larger than %dx%d" % (SIZE, SIZE))
    left, top = (SIZE - width) // 2, (SIZE - height) // 2
    canvas = [bytearray(SIZE * 4) for _ in range(SIZE)]
    for y, row in enumerate(rows):
        canvas[top + y][4 * left:4 * (left + width)] = row
    return canvas


def scale_up(rows):
    """Doubles every pixel of 16x16 RGBA rows: nearest neighbour, no blur."""
    out = []
    for row in rows:
        line = bytearray()
        for x in range(SIZE):
            line += bytes(row[4 * x:4 * x + 4]) * SCALE
        out += [bytes(line)] * SCALE
    return out


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def write_png(path, rows):
    side = len(rows)
    header = struct.pack(">IIBBBBB", side, side, 8, 6, 0, 0, 0)
    raw = b"".join(b"\x00" + bytes(r) for r in rows)
    path.write_bytes(PNG_SIGNATURE + chunk(b"IHDR", header)
                     + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write_qrc(path, codes):
    lines = ['<!DOCTYPE RCC><RCC version="1.0">', '<qresource prefix="/flags">']
    lines += ["    <file>%s.png</file>" % c for c in codes]
    lines += ["</qresource>", "</RCC>", ""]
    path.write_text("\n".join(lines))


def main(argv):
    source = Path(argv[1]) if len(argv) > 1 else DEFAULT_SOURCE
    output = Path(argv[2]) if len(argv) > 2 else DEFAULT_OUTPUT
    output.mkdir(parents=True, exist_ok=True)
    written, missing = [], []
    for code in CODES:
        src = source / ("%s.png" % SOURCE_NAME.get(code, code.lower()))
        if not src.is_file():
            missing.append(code)
            continue
        write_png(output / ("%s.png" % code), scale_up(pad_square(*read_rgba(src))))
        written.append(code)
    write_qrc(output / "flags.qrc", written)
    print("%d flags written to %s" % (len(written), output))
    if missing:
        print("no source image for: %s" % " ".join(missing), file=sys.stderr)
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
