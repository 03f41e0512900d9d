"""Small readers and writers for the picture files of Halvane's assets.

Python 3 standard library only: a PNG decoder for the 8-bit, non-interlaced
pictures the Moon map comes in, a writer and a reader of uncompressed 24-bit
bottom-up BMP files (the only form the host and the renderer carry), and a
writer of BMP-in-ICO icon files.

Pixels travel as rows of (r, g, b) tuples, top row first, whatever the file
stores; the BMP writer turns them bottom-up itself.
"""

import struct
import zlib

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


class PictureError(ValueError):
    """A picture file that this module does not read."""


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    if pb <= pc:
        return b
    return c


def read_png(path):
    """Reads an 8-bit grey, RGB or RGBA non-interlaced PNG.

    Returns (width, height, rows) with rows top first, each a list of
    (r, g, b) tuples (alpha is dropped, grey is spread to three channels).
    """
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != PNG_SIGNATURE:
        raise PictureError("%s: not a PNG file" % path)
    pos = 8
    header = None
    idat = []
    while pos + 8 <= len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        if len(body) != length:
            raise PictureError("%s: chunk %r cut short" % (path, kind))
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
        pos += 12 + length
    if header is None or not idat:
        raise PictureError("%s: no image header or no image data" % path)
    width, height, depth, colour, _comp, _filt, interlace = header
    channels = {0: 1, 2: 3, 6: 4}.get(colour)
    if depth != 8 or channels is None or interlace != 0:
        raise PictureError("%s: only 8-bit grey/RGB/RGBA non-interlaced PNGs are read"
                           % path)
    raw = zlib.decompress(b"".join(idat))
    stride = width * channels
    if len(raw) != height * (stride + 1):
        raise PictureError("%s: image data has the wrong size" % path)

    rows = []
    previous = bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind = raw[start]
        line = bytearray(raw[start + 1:start + 1 + stride])
        if kind == 1:
            for i in range(channels, stride):
                line[i] = (line[i] + line[i - channels]) & 0xFF
        elif kind == 2:
            for i in range(stride):
                line[i] = (line[i] + previous[i]) & 0xFF
        elif kind == 3:
            for i in range(stride):
                left = line[i - channels] if i >= channels else 0
                line[i] = (line[i] + ((left + previous[i]) >> 1)) & 0xFF
        elif kind == 4:
            for i in range(stride):
                if i >= channels:
                    left, corner = line[i - channels], previous[i - channels]
                else:
                    left, corner = 0, 0
                line[i] = (line[i] + _paeth(left, previous[i], corner)) & 0xFF
        elif kind != 0:
            raise PictureError("%s: unknown row filter %d" % (path, kind))
        previous = line
        if channels == 1:
            rows.append([(v, v, v) for v in line])
        else:
            rows.append([tuple(line[i:i + 3]) for i in range(0, stride, channels)])
    return width, height, rows


def bmp_bytes(rows):
    """An uncompressed 24-bit bottom-up BMP of rows (top row first).

    54 header bytes, no colour table, biClrUsed 0, rows padded to 4 bytes.
    """
    height = len(rows)
    width = len(rows[0])
    stride = (width * 3 + 3) & ~3
    pad = bytes(stride - width * 3)
    image_size = stride * height
    body = bytearray()
    for row in reversed(rows):
        if len(row) != width:
            raise PictureError("rows of different lengths")
        for r, g, b in row:
            body += bytes((b, g, r))
        body += pad
    file_header = struct.pack("<2sIHHI", b"BM", 54 + image_size, 0, 0, 54)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0,
                              image_size, 2835, 2835, 0, 0)
    return file_header + info_header + bytes(body)


def write_bmp(path, rows):
    with open(path, "wb") as f:
        f.write(bmp_bytes(rows))


def parse_bmp(data):
    """Reads a 24-bit uncompressed BMP with no colour table.

    Returns a dict of the header fields and 'rows', top row first.
    """
    if len(data) < 54 or data[:2] != b"BM":
        raise PictureError("not a BMP file")
    (_magic, file_size, _r1, _r2, offset) = struct.unpack("<2sIHHI", data[:14])
    (size, width, height, planes, bits, compression, image_size, _xppm, _yppm,
     clr_used, clr_important) = struct.unpack("<IiiHHIIiiII", data[14:54])
    info = dict(file_size=file_size, offset=offset, header_size=size, width=width,
                height=height, planes=planes, bits=bits, compression=compression,
                image_size=image_size, clr_used=clr_used,
                clr_important=clr_important)
    if bits != 24 or compression != 0 or width <= 0 or height == 0:
        raise PictureError("only uncompressed 24-bit BMPs are read")
    stride = (width * 3 + 3) & ~3
    rows_stored = abs(height)
    if len(data) < offset + stride * rows_stored:
        raise PictureError("pixel data cut short")
    rows = []
    for y in range(rows_stored):
        start = offset + y * stride
        line = data[start:start + width * 3]
        rows.append([(line[i + 2], line[i + 1], line[i]) for i in range(0, width * 3, 3)])
    if height > 0:
        rows.reverse()
    info["rows"] = rows
    return info


def ico_bytes(images):
    """A BMP-in-ICO file holding each picture of images (lists of rows,
    top first, of (r, g, b, opaque) tuples), 32 bits a pixel with an AND mask."""
    entries = []
    blobs = []
    for rows in images:
        height = len(rows)
        width = len(rows[0])
        xor = bytearray()
        for row in reversed(rows):
            for r, g, b, opaque in row:
                xor += bytes((b, g, r, 255 if opaque else 0))
        mask_stride = ((width + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(rows):
            line = bytearray(mask_stride)
            for x, pixel in enumerate(row):
                if not pixel[3]:
                    line[x >> 3] |= 0x80 >> (x & 7)
            mask += line
        header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0,
                             len(xor) + len(mask), 0, 0, 0, 0)
        blobs.append(header + bytes(xor) + bytes(mask))
        entries.append((width, height))
    offset = 6 + 16 * len(images)
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    for (width, height), blob in zip(entries, blobs):
        out += struct.pack("<BBBBHHII", width & 0xFF, height & 0xFF, 0, 0, 1, 32,
                           len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)
