#!/usr/bin/env python3
"""Prints the C++ byte -> Unicode tables of code pages 852 and 1250 (0 = unassigned).

Output is pasted into src/dbf/code_page_maps.cpp; run again only to regenerate it.
"""
import codecs


def table(name, cp):
    rows = []
    for row in range(0, 256, 8):
        cells = []
        for b in range(row, row + 8):
            try:
                cells.append("0x%04X" % ord(bytes([b]).decode(cp)))
            except UnicodeDecodeError:
                cells.append("0x0000")
        rows.append("    " + ", ".join(cells) + ",  // %02X" % row)
    return ("constexpr std::array<char16_t, 256> k%s = {\n" % name) + "\n".join(rows) + "\n};\n"


print(table("Cp852", "cp852"))
print(table("Cp1250", "cp1250"))
