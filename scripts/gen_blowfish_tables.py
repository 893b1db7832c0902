#!/usr/bin/env python3
"""Writes src/settings/blowfish_tables.cpp: Blowfish's initial P-array and S-boxes, which are the
hexadecimal digits of the fractional part of pi (18 + 4 * 256 words of 8 digits)."""
import pathlib

WORDS = 18 + 4 * 256
DIGITS = WORDS * 8
GUARD_BITS = 128


def arctan_inv(x, one):
    """arctan(1/x) in fixed point with the given unit."""
    total = term = one // x
    x2, n, sign = x * x, 1, -1
    while term:
        term //= x2
        n += 2
        total += sign * (term // n)
        sign = -sign
    return total


def pi_words():
    one = 1 << (4 * DIGITS + GUARD_BITS)
    pi = 16 * arctan_inv(5, one) - 4 * arctan_inv(239, one)  # Machin's formula
    fraction = (pi - 3 * one) >> GUARD_BITS
    digits = format(fraction, "x").rjust(DIGITS, "0")
    return ["0x" + digits[i * 8:(i + 1) * 8].upper() for i in range(WORDS)]


def rows(words, indent):
    return "".join(indent + ", ".join(words[i:i + 6]) + ",\n" for i in range(0, len(words), 6))


def main():
    words = pi_words()
    text = (
        "// Blowfish's initial tables: the hexadecimal digits of the fractional part of pi, in\n"
        "// order (P-array first, then S-boxes 0 to 3). Written by scripts/gen_blowfish_tables.py.\n"
        '#include "settings/blowfish_tables.h"\n\nnamespace quorlet::blowfish {\n\n'
        "const std::uint32_t kInitialP[18] = {\n" + rows(words[:18], "    ") + "};\n\n"
        "const std::uint32_t kInitialS[4][256] = {\n"
    )
    for box in range(4):
        text += "    {\n" + rows(words[18 + 256 * box:18 + 256 * (box + 1)], "        ") + "    },\n"
    text += "};\n\n}  // namespace quorlet::blowfish\n"
    target = pathlib.Path(__file__).resolve().parent.parent / "src/settings/blowfish_tables.cpp"
    target.write_text(text)


if __name__ == "__main__":
    main()
