"""Reads an .xls file back with xlrd, a reader independent of ours, for tst_xlsbook.

    read_xls.py BOOK.xls              JSON: sheets, cells with their formatting, sizes
    read_xls.py --stream NAME FILE    JSON: size and SHA-256 of a compound file's stream

"log" holds what xlrd said about inconsistencies it tolerated; the tests expect none.
"""
import hashlib
import io
import json
import re
import struct
import sys

import xlrd
from xlrd import compdoc

# At verbosity 1 xlrd also narrates what it read; everything else it says is a complaint.
NARRATION = re.compile(r"^(|CODEPAGE: .*|DATEMODE: .*|Colour indexes used:|\[[\d, ]*\])$")


def complaints(log):
    return "\n".join(line for line in log.getvalue().splitlines() if not NARRATION.match(line))


def oversized_records(path):
    # Excel refuses records longer than 8224 bytes; xlrd does not mind them.
    with open(path, "rb") as f:
        stream = compdoc.CompDoc(f.read(), logfile=io.StringIO()).get_named_stream("Workbook")
    pos, found = 0, []
    while pos + 4 <= len(stream):
        kind, length = struct.unpack_from("<HH", stream, pos)
        if length > 8224:
            found.append("record 0x%04X at %d has %d bytes" % (kind, pos, length))
        pos += 4 + length
    return found


def rgb(book, index):
    colour = book.colour_map.get(index)
    return "auto" if colour is None else "%02X%02X%02X" % colour


def describe(book, cell):
    xf = book.xf_list[cell.xf_index]
    b = xf.border
    return {
        "text": cell.value if cell.ctype == xlrd.XL_CELL_TEXT else None,
        "font": rgb(book, book.font_list[xf.font_index].colour_index),
        "fill": rgb(book, xf.background.pattern_colour_index)
        if xf.background.fill_pattern else "none",
        "pattern": xf.background.fill_pattern,
        "borders": "%d%d%d%d" % (b.top_line_style, b.bottom_line_style,
                                 b.left_line_style, b.right_line_style),
    }


def read_book(path):
    log = io.StringIO()
    book = xlrd.open_workbook(path, formatting_info=True, ragged_rows=True, logfile=log,
                              verbosity=1)
    sheet = book.sheet_by_index(0)
    return {
        "log": "\n".join([complaints(log)] + oversized_records(path)).strip(),
        "sheets": book.sheet_names(),
        "sheetRows": [s.nrows for s in book.sheets()],
        "cells": {"%d,%d" % (r, c): describe(book, sheet.cell(r, c))
                  for r in range(sheet.nrows) for c in range(sheet.row_len(r))
                  if sheet.cell_type(r, c) != xlrd.XL_CELL_EMPTY},
        # Only heights set on purpose.
        "rowHeights": {str(r): i.height for r, i in sheet.rowinfo_map.items() if i.height_mismatch},
        "colWidths": {str(c): i.width for c, i in sheet.colinfo_map.items()},
        "fontCount": len(book.font_list),
        "xfCount": len(book.xf_list),
    }


def read_stream(name, path):
    log = io.StringIO()
    with open(path, "rb") as f:
        data = compdoc.CompDoc(f.read(), logfile=log).get_named_stream(name)
    return {"log": complaints(log), "size": len(data),
            "sha256": hashlib.sha256(data).hexdigest()}


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "--stream":
        result = read_stream(sys.argv[2], sys.argv[3])
    elif len(sys.argv) == 2:
        result = read_book(sys.argv[1])
    else:
        sys.exit(__doc__)
    json.dump(result, sys.stdout, ensure_ascii=False)
