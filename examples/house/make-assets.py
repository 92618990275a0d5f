#!/usr/bin/env python3
"""Writes the binary files of the house example: the floor tile texture (floor-tiles.png, a 16 x 16
chequer) and the side file house.bin that holds the floor slab's mesh arrays. Prints the buffer
references that house.json uses for them. Run it from any folder; it writes beside itself."""

import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def write_png(path, width, height, pixel):
    rows = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)  # 8-bit RGB
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def tile(x, y):
    return (196, 98, 45) if (x // 4 + y // 4) % 2 == 0 else (232, 220, 200)


def box(w, d, h):
    vertices = [(0, 0, 0), (w, 0, 0), (w, d, 0), (0, d, 0), (0, 0, h), (w, 0, h), (w, d, h), (0, d, h)]
    faces = [(0, 2, 1), (0, 3, 2), (4, 5, 6), (4, 6, 7), (0, 1, 5), (0, 5, 4),
             (1, 2, 6), (1, 6, 5), (2, 3, 7), (2, 7, 6), (3, 0, 4), (3, 4, 7)]
    groups = [1, 1, 2, 2, 4, 4, 8, 8, 16, 16, 32, 32]
    return vertices, faces, groups


def main():
    write_png(os.path.join(HERE, "floor-tiles.png"), 16, 16, tile)

    # The floor slab: 400 x 400 x 10 cm, top at z = 0. Map channel 1 repeats the tile every metre
    # on the top face; the other faces get the whole tile once.
    vertices, faces, groups = box(400, 400, 10)
    vertices = [(x, y, z - 10) for (x, y, z) in vertices]
    uvs = [(0, 0), (1, 0), (1, 1), (0, 1)]
    map_vertices = [(0, 0), (4, 0), (4, 4), (0, 4)] + uvs
    top = [(0, 1, 2), (0, 2, 3)]
    side = [(4, 5, 6), (4, 6, 7)]
    map_faces = side + top + side * 4

    blob = bytearray()
    refs = {}

    def add(name, fmt, items, type_name):
        while len(blob) % 4:
            blob.append(0)
        refs[name] = (len(blob), len(items), type_name)
        for item in items:
            blob.extend(struct.pack("<" + fmt, *(item if isinstance(item, tuple) else (item,))))

    add("vertices", "3f", vertices, "f32x3")
    add("faces", "3H", faces, "u16x3")
    add("smoothingGroups", "I", groups, "u32")
    add("mapVertices", "2f", map_vertices, "f32x2")
    add("mapFaces", "3H", map_faces, "u16x3")
    with open(os.path.join(HERE, "house.bin"), "wb") as f:
        f.write(blob)

    print("house.bin:", len(blob), "bytes")
    for name, (offset, count, type_name) in refs.items():
        print(f'  "{name}": {{"buffer": 0, "offset": {offset}, "count": {count}, "type": "{type_name}"}}')


if __name__ == "__main__":
    main()
