#!/usr/bin/env python3
"""Writes the sample ROM and its settings file: generated data, free to share.

The ROM is 256 KiB of patterned filler with a few colourful 32-colour palettes
at known offsets, and the settings file names those offsets in its "Patch"
section, so a new user sees the location book working at once.
"""
import colorsys
import pathlib
import struct

ROM_SIZE = 256 * 1024
HERE = pathlib.Path(__file__).resolve().parent


def snes_word(red, green, blue):
    """Packs 0..255 channels into a 15-bit SNES colour word."""
    return (red >> 3) | (green >> 3) << 5 | (blue >> 3) << 10


def hsv_palette(hue_start, hue_span, saturation, value_start, value_end):
    words = []
    for i in range(32):
        t = i / 31
        hue = (hue_start + hue_span * t) % 1.0
        value = value_start + (value_end - value_start) * t
        r, g, b = colorsys.hsv_to_rgb(hue, saturation, value)
        words.append(snes_word(int(r * 255), int(g * 255), int(b * 255)))
    return words


PALETTES = {
    "Title Rainbow": (0x000100, hsv_palette(0.0, 0.97, 1.0, 1.0, 1.0)),
    "Grey Ramp": (0x002000, [snes_word(i * 8, i * 8, i * 8) for i in range(32)]),
    "Sunset Sky": (0x008000, hsv_palette(0.95, 0.18, 0.85, 0.35, 1.0)),
    "Ocean Level": (0x01A000, hsv_palette(0.45, 0.25, 0.9, 0.25, 0.95)),
    "Forest Boss": (0x02C000, hsv_palette(0.20, 0.15, 0.8, 0.2, 0.9)),
}


def filler(size):
    """Deterministic bytes that look like code and data, not like palettes."""
    state = 0x1234
    out = bytearray(size)
    for i in range(size):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        out[i] = (state >> 16) & 0xFF
    return out


def main():
    rom = filler(ROM_SIZE)
    for offset, words in PALETTES.values():
        rom[offset:offset + 64] = b"".join(struct.pack("<H", w) for w in words)
    (HERE / "sample.smc").write_bytes(bytes(rom))

    lines = ["[Settings]", "SnesPath=", "", "[Patch]"]
    lines += [f"{name}={offset:08X}" for name, (offset, _) in PALETTES.items()]
    (HERE / "tintwright.ini").write_bytes(("\r\n".join(lines) + "\r\n").encode("ascii"))


if __name__ == "__main__":
    main()
