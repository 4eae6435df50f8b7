#!/usr/bin/env python3
"""Converts window dumps of `xwd` (ZPixmap, 24 or 32 bits a pixel) into a PNG file, with the
Python standard library alone:

    xwd-to-png.py OUT.png BASE.xwd [PIECE.xwd X Y]...

Each piece is pasted over the base with its upper-left corner at X, Y: a dump of the screen
leaves the windows of another top-level black, so each is dumped on its own and put in place."""
import struct
import sys
import zlib


def read_xwd(data):
    header = struct.unpack(">25I", data[:100])
    header_size, _version, pixmap_format, depth, width, height = header[:6]
    byte_order, bits_per_pixel, bytes_per_line, ncolors = header[7], header[11], header[12], header[19]
    red_mask, green_mask, blue_mask = header[14:17]
    if pixmap_format != 2 or bits_per_pixel not in (24, 32) or depth < 24:
        raise SystemExit("xwd-to-png: only 24/32-bit ZPixmap dumps are supported")
    offset = header_size + ncolors * 12
    step = bits_per_pixel // 8
    shift = lambda mask: (mask & -mask).bit_length() - 1
    shifts = shift(red_mask), shift(green_mask), shift(blue_mask)
    order = "<" if byte_order == 0 else ">"
    rows = []
    for y in range(height):
        line = data[offset + y * bytes_per_line: offset + y * bytes_per_line + width * step]
        out = bytearray()
        for x in range(width):
            chunk = line[x * step:(x + 1) * step]
            value = int.from_bytes(chunk, "little" if order == "<" else "big")
            out += bytes(((value >> s) & 0xFF) for s in shifts)
        rows.append(bytes(out))
    return width, height, rows


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    raw = b"".join(b"\x00" + row for row in rows)
    with open(path, "wb") as file:
        file.write(b"\x89PNG\r\n\x1a\n")
        file.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        file.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        file.write(chunk(b"IEND", b""))


def paste(base, piece, left, top):
    width, height, rows = base
    piece_width, _, piece_rows = piece
    for y, row in enumerate(piece_rows):
        target = top + y
        if not 0 <= target < height:
            continue
        start, end = max(0, left), min(width, left + piece_width)
        if start >= end:
            continue
        line = bytearray(rows[target])
        line[start * 3:end * 3] = row[(start - left) * 3:(end - left) * 3]
        rows[target] = bytes(line)


def load(path):
    with open(path, "rb") as source:
        return read_xwd(source.read())


if __name__ == "__main__":
    if len(sys.argv) < 3 or (len(sys.argv) - 3) % 3:
        raise SystemExit("Usage: xwd-to-png.py OUT.png BASE.xwd [PIECE.xwd X Y]...")
    base = load(sys.argv[2])
    for i in range(3, len(sys.argv), 3):
        paste(base, load(sys.argv[i]), int(sys.argv[i + 1]), int(sys.argv[i + 2]))
    write_png(sys.argv[1], *base)
