#!/usr/bin/env python3
"""Post-link step for LoadOrvik.dll.

Finds the zero-terminated library description text in the module's read-only
initialised data and points the optional header's data-directory entry 7
(architecture) at it, with the text's size (31 bytes). The module's checksum
is recomputed when it was set. Running the step twice changes nothing.
"""

import struct
import sys

TEXT = b"||Orvik Ascii files (*.PCB)|||\x00"
ARCHITECTURE_ENTRY = 7

SCN_CNT_INITIALIZED_DATA = 0x00000040
SCN_MEM_DISCARDABLE = 0x02000000
SCN_MEM_EXECUTE = 0x20000000
SCN_MEM_READ = 0x40000000
SCN_MEM_WRITE = 0x80000000


def fail(message):
    print(f"pe-description: {message}", file=sys.stderr)
    sys.exit(1)


def pe_checksum(image):
    """The module checksum of an image whose checksum field is zero."""
    total = 0
    padded = image + b"\0" * (len(image) % 2)
    for (word,) in struct.iter_unpack("<H", padded):
        total += word
        total = (total & 0xFFFF) + (total >> 16)
    return (total + len(image)) & 0xFFFFFFFF


def main(path):
    with open(path, "rb") as f:
        image = bytearray(f.read())
    if len(image) < 0x40 or image[:2] != b"MZ":
        fail(f"{path}: not a PE module")
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if pe + 24 > len(image) or image[pe:pe + 4] != b"PE\0\0":
        fail(f"{path}: no PE signature")
    sections, optional_size = struct.unpack_from("<H12xH", image, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", image, optional)[0]
    if magic == 0x10B:
        directories = optional + 96
    elif magic == 0x20B:
        directories = optional + 112
    else:
        fail(f"{path}: unknown optional header magic {magic:#x}")
    directory_count = struct.unpack_from("<I", image, directories - 4)[0]
    if directory_count <= ARCHITECTURE_ENTRY:
        fail(f"{path}: only {directory_count} data-directory entries")
    table = optional + optional_size
    if table + sections * 40 > len(image):
        fail(f"{path}: section table past the end of the file")

    found = []
    for i in range(sections):
        header = table + i * 40
        name = image[header:header + 8].rstrip(b"\0").decode("ascii", "replace")
        virtual_size, rva, raw_size, raw_offset = struct.unpack_from("<IIII", image, header + 8)
        flags = struct.unpack_from("<I", image, header + 36)[0]
        # Debug sections are discardable and may carry a copy of the text.
        read_only_data = (flags & SCN_CNT_INITIALIZED_DATA and flags & SCN_MEM_READ
                          and not flags & (SCN_MEM_WRITE | SCN_MEM_EXECUTE | SCN_MEM_DISCARDABLE))
        if not read_only_data:
            continue
        data = bytes(image[raw_offset:raw_offset + min(raw_size, virtual_size)])
        at = data.find(TEXT)
        while at >= 0:
            found.append((name, rva + at))
            at = data.find(TEXT, at + 1)
    if len(found) != 1:
        fail(f"{path}: expected the description text once in read-only data, found {len(found)} times")

    name, rva = found[0]
    struct.pack_into("<II", image, directories + ARCHITECTURE_ENTRY * 8, rva, len(TEXT))
    checksum_offset = optional + 64
    if struct.unpack_from("<I", image, checksum_offset)[0] != 0:
        struct.pack_into("<I", image, checksum_offset, 0)
        struct.pack_into("<I", image, checksum_offset, pe_checksum(bytes(image)))
    with open(path, "r+b") as f:
        f.write(image)
    print(f"pe-description: {path}: entry {ARCHITECTURE_ENTRY} -> {name} RVA {rva:#x}, {len(TEXT)} bytes")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        fail("usage: pe-description.py MODULE")
    main(sys.argv[1])
