#!/usr/bin/env python3
"""Writes the logo loader's test files, all made here from scratch:

  tests/data/logo/bad/   malformed BMP and PCX files, each with the status the loader must give,
                         listed in tests/data/logo/bad/README.md (the test reads that table);
  fuzz/corpus/logo/      small well-formed files that seed the fuzzer.

Run it again after changing the lists below; the output is committed. Deterministic.
"""
import os
import random
import shutil
import struct
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
BAD_DIR = os.path.join(ROOT, "tests", "data", "logo", "bad")
SEED_DIR = os.path.join(ROOT, "fuzz", "corpus", "logo")


# --- BMP ---------------------------------------------------------------------------------

def bmp(width, height, bits=24, palette=None, pixels=None, top_down=False, colours_used=None,
        info_size=40, gap=0, important=0, compression=0, planes=1):
    """A Windows BMP. Pixels are rows top first: palette indexes, or (r, g, b) at 24 bits."""
    palette = palette or []
    stride = 4 * ((width * bits + 31) // 32)
    table = 4 * len(palette)
    data_offset = 14 + info_size + table + gap
    rows = bytearray(stride * height)
    for y in range(height if pixels else 0):
        file_row = y if top_down else height - 1 - y
        base = file_row * stride
        for x in range(width):
            v = pixels[y][x]
            if bits == 24:
                r, g, b = v
                rows[base + 3 * x:base + 3 * x + 3] = bytes((b, g, r))
            else:
                bit = x * bits
                rows[base + bit // 8] |= (v << (8 - bits - bit % 8)) & 0xFF
    if colours_used is None:
        colours_used = 0 if bits <= 8 and len(palette) == 1 << bits else len(palette)
    info = struct.pack("<IiiHHIIiiii", info_size,
                       width, -height if top_down else height,
                       planes, bits, compression, 0, 2835, 2835, colours_used, important)
    info += bytes(info_size - 40)
    table_bytes = b"".join(bytes((c[2], c[1], c[0], 0)) for c in palette)
    body = info + table_bytes + bytes(gap) + rows
    size = 14 + len(body)
    header = b"BM" + struct.pack("<IHHI", size, 0, 0, data_offset)
    return bytearray(header + body)


def put(data, at, fmt, value):
    data[at:at + struct.calcsize(fmt)] = struct.pack(fmt, value)
    return data


def fix_size(data):
    return put(data, 2, "<I", len(data))


def noise(rng, width, height, values):
    return [[rng.randrange(values) for _ in range(width)] for _ in range(height)]


GREYS4 = [(0, 0, 0), (255, 255, 255), (128, 128, 128), (200, 30, 30)]


def base24(rng):
    return bmp(8, 8, 24, pixels=[[tuple(rng.randrange(256) for _ in range(3))
                                  for _ in range(8)] for _ in range(8)])


def base8(rng):
    return bmp(8, 10, 8, GREYS4, noise(rng, 8, 10, 4))


# --- PCX ---------------------------------------------------------------------------------

def pcx_header(width, height, bits=1, bytes_per_line=None, planes=1, xmin=0, ymin=0,
               version=5, encoding=1, palette=None):
    if bytes_per_line is None:
        bytes_per_line = (width * bits + 7) // 8
        bytes_per_line += bytes_per_line % 2
    h = bytearray(128)
    h[0], h[1], h[2], h[3] = 0x0A, version, encoding, bits
    struct.pack_into("<HHHHHH", h, 4, xmin, ymin, (xmin + width - 1) & 0xFFFF,
                     (ymin + height - 1) & 0xFFFF, 200, 200)
    if palette:
        h[16:16 + len(palette)] = palette
    h[65] = planes
    struct.pack_into("<HH", h, 66, bytes_per_line, 1)
    return h


def rle(line):
    out = bytearray()
    i = 0
    while i < len(line):
        run = 1
        while i + run < len(line) and run < 63 and line[i + run] == line[i]:
            run += 1
        if run > 1 or line[i] >= 0xC0:
            out.append(0xC0 + run)
        out.append(line[i])
        i += run
    return out


def pcx(width, lines, bits=1, trailer=None, **header):
    h = pcx_header(width, len(lines), bits, bytes_per_line=len(lines[0]), **header)
    data = b"".join(rle(bytes(l)) for l in lines)
    tail = b""
    if trailer is not None:
        tail = b"\x0c" + bytes(trailer)
    return bytearray(h + data + tail)


def base_pcx(rng):
    # 16 x 24 at one bit, 2 bytes per line: long runs and single bytes alike.
    lines = [[rng.choice((0x00, 0xFF, 0x0F, 0xC3)) for _ in range(2)] for _ in range(24)]
    return pcx(16, lines)


# --- The malformed corpus -----------------------------------------------------------------

NC, TOO_LARGE = "LOGO_NOT_COMPATIBLE", "LOGO_TOO_LARGE"


def bad_files():
    rng = random.Random(7)
    b24, b8, bp = base24(rng), base8(rng), base_pcx(rng)
    files = []

    def add(name, data, status, what):
        files.append((name, bytes(data), status, what))

    # Files the size test refuses before any reader looks at them.
    add("empty.bmp", b"", NC, "no bytes at all")
    add("bmp-header-only.bmp", b24[:54], NC, "BMP headers without pixels: below 128 bytes")
    add("bmp-62-byte-mono.bmp", bmp(1, 1, 1, [(0, 0, 0), (255, 255, 255)]), NC,
        "a well-formed 1 x 1 monochrome BMP of 62 bytes: below 128 bytes")
    add("pcx-header-100-bytes.pcx", bp[:100], NC, "a PCX cut inside its header")

    # BMP headers, in the order the reader checks them.
    add("bmp-info-header-39.bmp", put(bytearray(b24), 14, "<I", 39), NC,
        "info header size 39")
    add("bmp-os2-core-header.bmp", put(bytearray(b24), 14, "<I", 12), NC,
        "OS/2 12-byte core header")
    add("bmp-size-field-plus-one.bmp", put(bytearray(b24), 2, "<I", len(b24) + 1), NC,
        "file-size field one more than the file")
    add("bmp-size-field-minus-one.bmp", put(bytearray(b24), 2, "<I", len(b24) - 1), NC,
        "file-size field one less than the file")
    add("bmp-size-field-zero.bmp", put(bytearray(b24), 2, "<I", 0), NC, "file-size field 0")
    add("bmp-planes-0.bmp", put(bytearray(b24), 26, "<H", 0), NC, "planes 0")
    add("bmp-planes-2.bmp", put(bytearray(b24), 26, "<H", 2), NC, "planes 2")
    add("bmp-rle8.bmp", put(bytearray(b8), 30, "<I", 1), NC, "run-length compressed (RLE8)")
    add("bmp-rle4.bmp", put(put(bytearray(b8), 30, "<I", 2), 28, "<H", 4), NC,
        "run-length compressed (RLE4)")
    add("bmp-bitfields-32.bmp", put(bmp(8, 8, 32), 30, "<I", 3), NC, "32 bits with bit fields")
    add("bmp-16-bit.bmp", bmp(8, 8, 16), NC, "16 bits per pixel")
    add("bmp-32-bit.bmp", bmp(8, 8, 32), NC, "32 bits per pixel, uncompressed")
    add("bmp-2-bit.bmp", bmp(16, 16, 2, GREYS4), NC, "2 bits per pixel")
    add("bmp-width-0.bmp", put(bytearray(b24), 18, "<i", 0), NC, "width 0")
    add("bmp-width-negative.bmp", put(bytearray(b24), 18, "<i", -8), NC, "width -8")
    add("bmp-height-0.bmp", put(bytearray(b24), 22, "<i", 0), NC, "height 0")
    add("bmp-height-int-min.bmp", put(bytearray(b24), 22, "<i", -2**31), NC,
        "height -2147483648, which has no absolute value")
    add("bmp-width-361.bmp", put(bytearray(b24), 18, "<i", 361), TOO_LARGE, "width 361")
    add("bmp-height-361.bmp", put(bytearray(b24), 22, "<i", 361), TOO_LARGE, "height 361")
    add("bmp-height-minus-361.bmp", put(bytearray(b24), 22, "<i", -361), TOO_LARGE,
        "top-down, height -361")
    add("bmp-huge-dimensions.bmp",
        put(put(bytearray(b24), 18, "<i", 2**31 - 1), 22, "<i", 2**31 - 1), TOO_LARGE,
        "2147483647 x 2147483647: the row size would overflow 32 bits")
    add("bmp-huge-top-down.bmp", put(bytearray(b24), 22, "<i", -(2**31 - 1)), TOO_LARGE,
        "height -2147483647")
    add("bmp-bad-planes-too-large.bmp",
        put(put(bytearray(b24), 26, "<H", 3), 18, "<i", 1000), NC,
        "bad planes and too large: the header check comes first")
    add("bmp-bad-colours-too-large.bmp",
        put(put(bytearray(b8), 46, "<i", 1000), 18, "<i", 1000), TOO_LARGE,
        "bad colour count and too large: the size check comes first")
    add("bmp-colours-257.bmp", put(bytearray(b8), 46, "<i", 257), NC, "8 bits, 257 colours")
    add("bmp-colours-3-at-1-bit.bmp",
        bmp(32, 32, 1, [(0, 0, 0), (255, 255, 255)], colours_used=3), NC,
        "1 bit, 3 colours")
    add("bmp-colours-negative.bmp", put(bytearray(b8), 46, "<i", -4), NC,
        "colour count -4")
    add("bmp-colours-and-important-negative.bmp",
        put(put(put(bytearray(b8), 46, "<i", -64), 50, "<i", -64), 10, "<I", 14), NC,
        "colour count and important colours both -64, pixel offset 14: a negative count "
        "would let the rows start inside the headers")
    add("bmp-24-bit-with-colours.bmp", put(bytearray(b24), 46, "<i", 2), NC,
        "24 bits with a colour count of 2")
    add("bmp-important-above-count.bmp", put(bytearray(b8), 50, "<i", 5), NC,
        "5 important colours of 4")
    add("bmp-offset-inside-colour-table.bmp", put(bytearray(b8), 10, "<I", 14 + 40 + 12), NC,
        "pixel data offset inside the colour table")
    add("bmp-offset-zero.bmp", put(bytearray(b24), 10, "<I", 0), NC, "pixel data offset 0")
    add("bmp-offset-past-end.bmp", put(bytearray(b24), 10, "<I", 0xFFFFFFF0), NC,
        "pixel data offset far past the end")
    add("bmp-colour-table-past-end.bmp", put(bytearray(b8), 46, "<i", 0), NC,
        "colour count 0 means 256 entries: the table runs past the pixel offset and the end")
    add("bmp-huge-info-header.bmp", put(bytearray(b24), 14, "<I", 0xFFFFFFFF), NC,
        "info header size 4294967295: the table start overflows 32 bits")
    add("bmp-rows-past-end.bmp", put(bytearray(b24), 10, "<I", 55), NC,
        "pixel rows end one byte past the file")
    cut = bytearray(b24[:len(b24) - 24])
    add("bmp-truncated-pixels.bmp", fix_size(cut), NC,
        "the last row cut off (file-size field matches the cut file)")

    # PCX headers, structure and end.
    add("pcx-header-only.pcx", bp[:128], NC, "a PCX header and no lines")
    add("pcx-planes-0.pcx", put(bytearray(bp), 65, "B", 0), NC, "0 colour planes")
    add("pcx-planes-3.pcx", put(bytearray(bp), 65, "B", 3), NC, "3 colour planes")
    add("pcx-4-bits.pcx", put(bytearray(bp), 3, "B", 4), NC, "4 bits per pixel")
    add("pcx-24-bit.pcx", put(put(bytearray(bp), 3, "B", 8), 65, "B", 3), NC,
        "8 bits in 3 planes")
    add("pcx-xmax-below-xmin.pcx", put(put(bytearray(bp), 4, "<H", 20), 8, "<H", 10), NC,
        "Xmax below Xmin")
    add("pcx-ymax-below-ymin.pcx", put(put(bytearray(bp), 6, "<H", 9), 10, "<H", 3), NC,
        "Ymax below Ymin")
    add("pcx-bytes-per-line-0.pcx", put(bytearray(bp), 66, "<H", 0), NC, "0 bytes per line")
    add("pcx-width-361.pcx", put(bytearray(bp), 8, "<H", 360), TOO_LARGE, "width 361")
    add("pcx-height-361.pcx", put(bytearray(bp), 10, "<H", 360), TOO_LARGE, "height 361")
    add("pcx-huge-dimensions.pcx", put(put(bytearray(bp), 8, "<H", 65535), 10, "<H", 65535),
        TOO_LARGE, "65536 x 65536")
    add("pcx-run-code-c0.pcx", put(bytearray(bp), 128, "B", 0xC0), NC,
        "a run code of length 0 (0xC0)")
    add("pcx-missing-lines.pcx", bp[:len(bp) - 12], NC, "the last lines missing")
    run_at_end = pcx_header(16, 24) + b"\xc2\x00" * 23 + b"\xc2"
    add("pcx-run-byte-missing.pcx", run_at_end, NC,
        "ends with a run code whose byte is missing")
    add("pcx-spare-byte.pcx", bp + b"\x00", NC, "one spare byte after the last line")
    add("pcx-tail-769-no-mark.pcx", bp + b"\x0d" + bytes(768), NC,
        "769 bytes after the lines, not starting with 0x0C")
    add("pcx-tail-768.pcx", bp + b"\x0c" + bytes(767), NC, "768 bytes after the lines")
    add("pcx-tail-770.pcx", bp + b"\x0c" + bytes(769), NC, "770 bytes after the lines")
    crossing = pcx_header(16, 24) + b"\xc4\x00" + b"\xc2\xff" * 22
    add("pcx-runs-across-lines.pcx", crossing, NC,
        "a run meant to carry into the next line: the line ends with the run, so the data "
        "runs out a line early")
    add("pcx-8-bit-table-cut.pcx",
        pcx(4, [[1, 2, 3, 4]] * 8, bits=8, trailer=bytes(700)), NC,
        "8 bits with a trailing table cut short")

    # Not logo files at all.
    add("text-starting-with-newline.bmp", b"\nThis is a text file, not a picture.\n" * 6, NC,
        "plain text whose first byte 0x0A selects the PCX reader; its byte 65 is not 1")
    add("random-bytes.bmp", bytes(rng.randrange(256) for _ in range(300)), NC,
        "random bytes")
    add("png-signature.pcx", b"\x89PNG\r\n\x1a\n" + bytes(200), NC,
        "a PNG signature: neither reader applies")
    return files


# --- Seeds for the fuzzer -------------------------------------------------------------------

def seed_files():
    rng = random.Random(11)
    bw = [(0, 0, 0), (255, 255, 255)]
    pal16 = [(rng.randrange(256), rng.randrange(256), rng.randrange(256)) for _ in range(16)]
    grey = bytes(v for i in range(256) for v in (i, i, i))
    header_pal = bytes(v for c in pal16 for v in c)
    rgb = [[tuple(rng.randrange(256) for _ in range(3)) for _ in range(11)] for _ in range(6)]
    return [
        ("mono-13x7.bmp", bmp(13, 7, 1, bw, noise(rng, 13, 7, 2))),
        ("mono-top-down-white-first.bmp", bmp(9, 5, 1, bw[::-1], noise(rng, 9, 5, 2), True)),
        ("4-bit-9x5.bmp", bmp(9, 5, 4, pal16, noise(rng, 9, 5, 16))),
        ("8-bit-17x3-few-colours.bmp",
         bmp(17, 3, 8, pal16[:6], noise(rng, 17, 3, 8), important=3)),
        ("24-bit-11x6.bmp", bmp(11, 6, 24, pixels=rgb)),
        ("24-bit-top-down-v5.bmp", bmp(11, 6, 24, pixels=rgb, top_down=True, info_size=124)),
        ("mono-360x2.bmp", bmp(360, 2, 1, bw, noise(rng, 360, 2, 2))),
        ("pcx-1-bit-9x4.pcx", pcx(9, [[rng.randrange(256), rng.randrange(256)]
                                      for _ in range(4)])),
        ("pcx-1-bit-40x10-runs.pcx", pcx(40, [[0xFF] * 3 + [0x00] * 3 for _ in range(10)])),
        ("pcx-8-bit-table.pcx", pcx(20, noise(rng, 20, 5, 256), bits=8, trailer=grey)),
        ("pcx-8-bit-header-palette.pcx",
         pcx(6, noise(rng, 6, 4, 32), bits=8, palette=header_pal)),
        ("pcx-origin-moved.pcx", pcx(16, [[0x0F, 0xF0]] * 3, xmin=300, ymin=70)),
    ]


def write_dir(path, files):
    if os.path.isdir(path):
        shutil.rmtree(path)
    os.makedirs(path)
    for name, data in files:
        with open(os.path.join(path, name), "wb") as f:
            f.write(data)


def main():
    bad = bad_files()
    names = [f[0] for f in bad]
    if len(set(names)) != len(names):
        sys.exit("duplicate file names")
    write_dir(BAD_DIR, [(n, d) for n, d, _, _ in bad])
    with open(os.path.join(BAD_DIR, "README.md"), "w") as f:
        f.write("# Malformed logo files\n\n"
                "Made by `scripts/gen-logo-files.py`; do not edit by hand. Each file must load\n"
                "with exactly the status given. The test `LogoCorpus.EachFileGivesItsStatus`\n"
                "reads this table, and fails for a file that is missing from it.\n\n"
                "| file | status | what it is |\n|---|---|---|\n")
        for name, _, status, what in bad:
            f.write(f"| {name} | {status} | {what} |\n")
    write_dir(SEED_DIR, seed_files())
    print(f"{len(bad)} malformed files, {len(seed_files())} seeds")


if __name__ == "__main__":
    main()
