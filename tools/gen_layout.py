#!/usr/bin/env python3
"""Generates the plan layout tables of src/report from the form's layout document.

Usage: tools/gen_layout.py FORM_DOCUMENT.md [OUTPUT_DIR]

The document is Markdown. It holds, for each of the two printed pages, a table
of the text items (number in printing order, name, kind L or T, left, top,
width, height, font size with "B" for bold, leading, wrap, content) followed by
a paragraph listing the rectangles ("number `name` left top width height", ";"
between rectangles), and the field position table that says where the reader
looks for each of the 248 fields.

Writes PlanLayoutTable.cpp (the 558 items of both pages in printing order) and
PlanFieldTable.cpp (the 248 field positions with the layout item that prints
each field) into OUTPUT_DIR (default: src/report next to this script). The
counts are checked, so a damaged or changed document stops the run instead of
producing a silently different layout.
"""

import pathlib
import re
import sys

EXPECTED = {
    1: {"T": 212, "L": 107, "R": 176},
    2: {"T": 28, "L": 21, "R": 14},
}
FIELD_COUNT = 248


class Item:
    def __init__(self, page, number, name, kind, left, top, width, height,
                 size=0, bold=False, leading=0, wrap=False, text="", filled=False):
        self.page = page
        self.number = number
        self.name = name
        self.kind = kind
        self.left = left
        self.top = top
        self.width = width
        self.height = height
        self.size = size
        self.bold = bold
        self.leading = leading
        self.wrap = wrap
        self.text = text
        self.filled = filled


def fail(message):
    sys.exit("gen_layout: " + message)


def find_line(lines, start, prefix):
    for i in range(start, len(lines)):
        if lines[i].startswith(prefix):
            return i
    fail("cannot find a line starting with " + repr(prefix))


def split_row(line):
    cells = line.strip().split("|")
    if len(cells) < 3 or cells[0] != "" or cells[-1] != "":
        fail("malformed table row: " + line)
    # Only ASCII blanks pad a cell: a full-width space (U+3000) at either end
    # of a cell is part of the printed text, and str.strip() would drop it.
    return [c.strip(" \t") for c in cells[1:-1]]


def unquote(cell):
    m = re.fullmatch(r"`([^`]+)`", cell)
    if not m:
        fail("expected a name in backticks: " + cell)
    return m.group(1)


def parse_text_items(lines, start, page):
    head = find_line(lines, start, "| # | name | kind |")
    items = []
    i = head + 2
    while i < len(lines) and lines[i].startswith("| "):
        c = split_row(lines[i])
        if len(c) != 11:
            fail("text item row with %d cells: %s" % (len(c), lines[i]))
        number, name, kind = int(c[0]), unquote(c[1]), c[2]
        if kind not in ("L", "T"):
            fail("unknown kind " + kind)
        size_cell = c[7].split()
        size = int(size_cell[0])
        bold = len(size_cell) == 2 and size_cell[1] == "B"
        if len(size_cell) > 2 or (len(size_cell) == 2 and not bold):
            fail("bad font size cell " + c[7])
        leading = int(c[8]) if c[8] else 0
        if kind == "T" and not c[8]:
            fail("text block without leading: " + name)
        wrap = c[9] == "yes"
        if c[9] not in ("", "yes"):
            fail("bad wrap cell " + c[9])
        content = c[10]
        filled = content.startswith("«")
        text = "" if filled else content.replace("⏎", "\r\n")
        items.append(Item(page, number, name, kind, int(c[3]), int(c[4]), int(c[5]), int(c[6]),
                          size, bold, leading, wrap, text, filled))
        i += 1
    return items, i


def parse_rectangles(lines, start, page):
    i = start
    while not re.match(r"^\d+ `", lines[i]):
        i += 1
    rects = []
    for part in lines[i].split(";"):
        m = re.fullmatch(r"\s*(\d+) `([^`]+)` (\d+) (\d+) (\d+) (\d+)\s*", part)
        if not m:
            fail("malformed rectangle: " + part)
        n, name, l, t, w, h = m.groups()
        rects.append(Item(page, int(n), name, "R", int(l), int(t), int(w), int(h)))
    return rects


def parse_page(lines, page):
    title = find_line(lines, 0, "*Page %d (`PRPage%d`" % (page, page))
    texts, after = parse_text_items(lines, title, page)
    rect_title = find_line(lines, after, "*Page %d: rectangles" % page)
    rects = parse_rectangles(lines, rect_title + 1, page)
    items = sorted(texts + rects, key=lambda it: it.number)
    numbers = [it.number for it in items]
    if numbers != list(range(1, len(items) + 1)):
        fail("page %d: printing numbers are not 1..%d without gaps" % (page, len(items)))
    names = [it.name for it in items]
    if len(set(names)) != len(names):
        fail("page %d: duplicate item names" % page)
    counts = {k: sum(1 for it in items if it.kind == k) for k in "TLR"}
    if counts != EXPECTED[page]:
        fail("page %d: counts %s, expected %s" % (page, counts, EXPECTED[page]))
    return items


# ---- field position table -------------------------------------------------

def ints(text):
    return [int(v) for v in re.findall(r"-?\d+", text)]


def parse_fields(lines):
    head = find_line(lines, 0, "| indices | x | y |")
    fields = {}

    def put(index, page, x, y):
        if index in fields:
            fail("field %d given twice" % index)
        fields[index] = (page, x, y)

    i = head + 2
    while i < len(lines) and lines[i].startswith("| "):
        idx, xs, ys = split_row(lines[i])
        page = 2 if idx.endswith(", page 2") else 1
        idx = idx.replace(", page 2", "")
        i += 1
        # "base + 5*r* + *c* (*r* = 0…12, *c* = 0…4)": a grid of mark cells.
        m = re.fullmatch(r"(\d+) \+ 5\*(\w)\* \+ \*c\* \(\*\w\* = (\d+)…(\d+), \*c\* = 0…4\)", idx)
        if m:
            base, _, r0, r1 = int(m.group(1)), m.group(2), int(m.group(3)), int(m.group(4))
            mx = re.fullmatch(r"(\d+) \+ (\d+)\*c\*(?:, except index (\d+), which has x (\d+))?", xs)
            if not mx:
                fail("bad grid x: " + xs)
            x0, dx = int(mx.group(1)), int(mx.group(2))
            exception = {int(mx.group(3)): int(mx.group(4))} if mx.group(3) else {}
            my = re.fullmatch(r"row \*\w\*: (.*)", ys)
            row_ys = ints(my.group(1)) if my else fail("bad grid y: " + ys)
            if len(row_ys) != r1 - r0 + 1:
                fail("grid rows do not match: " + ys)
            for r in range(r0, r1 + 1):
                for c in range(5):
                    index = base + 5 * r + c
                    put(index, page, exception.get(index, x0 + dx * c), row_ys[r - r0])
            continue
        # "base + *r* (*r* = 0…12)" or just "base + *k*": one column of rows;
        # the row count comes from the y list.
        m = re.fullmatch(r"(\d+) \+ \*\w\*(?: \(\*\w\* = 0…\d+\))?", idx)
        if m:
            base = int(m.group(1))
            row_ys = ints(ys)
            for r, y in enumerate(row_ys):
                put(base + r, page, int(xs), y)
            continue
        # "a to b": x and y lists (a single value repeats), or the repeating
        # four-column form of the team boxes.
        m = re.fullmatch(r"(\d+) to (\d+)", idx)
        if m:
            first, last = int(m.group(1)), int(m.group(2))
            n = last - first + 1
            if xs.endswith(", repeating"):
                pattern = ints(xs[: -len(", repeating")])
                x_list = [pattern[k % len(pattern)] for k in range(n)]
            else:
                x_list = ints(xs)
            if "for" in ys:
                y_list = [None] * n
                for y, a, b in re.findall(r"(\d+) for (\d+)–(\d+)", ys):
                    for index in range(int(a), int(b) + 1):
                        y_list[index - first] = int(y)
            else:
                y_list = ints(ys)
            if len(x_list) == 1:
                x_list *= n
            if len(y_list) == 1:
                y_list *= n
            if len(x_list) != n or len(y_list) != n or None in y_list:
                fail("range row does not match its values: " + idx)
            for k in range(n):
                put(first + k, page, x_list[k], y_list[k])
            continue
        # "a, b, c" or a single index.
        m = re.fullmatch(r"\d+(?:, \d+)*", idx)
        if m:
            index_list = ints(idx)
            x_list, y_list = ints(xs), ints(ys)
            n = len(index_list)
            if len(x_list) == 1:
                x_list *= n
            if len(y_list) == 1:
                y_list *= n
            if len(x_list) != n or len(y_list) != n:
                fail("list row does not match its values: " + idx)
            for k, index in enumerate(index_list):
                put(index, page, x_list[k], y_list[k])
            continue
        fail("unrecognised field row: " + idx)

    if sorted(fields) != list(range(FIELD_COUNT)):
        fail("field table does not cover 0..%d exactly" % (FIELD_COUNT - 1))
    return [fields[k] for k in range(FIELD_COUNT)]


def field_item_names():
    """The layout item that prints each field index (the refill order of the
    open command): header fields, both tables row by row, then page 2."""
    names = ["PlanDateText", "NameText", "SexText", "BirthText", "OldText", "KaigoText",
             "KenkouMemo", "GapeiMemo", "SeikatsuMemo", "HomeBox", "EtcBox", "PrEtcText",
             "TaiinBox", "HomeWorkText", "SocialText", "GoOutText", "FreeTimeText", "TaiinText",
             "ExerciseBox", "ExerciseText", "SenseBox", "SenseText", "BrainBox", "BrainText",
             "KoushukuBox", "KoushukuText", "ArthralgiaBox", "ArthralgiaText", "SonotaBox",
             "SonotaText", "HDSText"]
    table = {}
    for r in range(13):
        for c in range(5):
            table[31 + 5 * r + c] = "ABC%d%d" % (r, c)
        table[96 + r] = "Goods%d" % r
        table[109 + r] = "Kaigo%d" % r
        table[122 + r] = "Time%d" % r
        table[135 + r] = "Point%d" % r
    table[148], table[149], table[150] = "PdfPTOTST0", "PdfKango0", "PdfJitshi0"
    for r in range(20, 28):
        for c in range(5):
            table[51 + 5 * r + c] = "ABC%d%d" % (r, c)
        table[171 + r] = "Goods%d" % r
        table[179 + r] = "Kaigo%d" % r
        table[187 + r] = "Time%d" % r
        table[195 + r] = "Point%d" % r
    table[223], table[224], table[225] = "PdfPTOTST1", "PdfKango1", "PdfJitshi1"
    for k, name in enumerate(["PdfSelfHope", "PdfFarmilyHope", "PdfLifePoint", "PdfRihaTarget",
                              "PdfSelfDo", "PdfAskFarmily", "PdfDiseseCare", "PdfVariation",
                              "PdfReMark"]):
        table[226 + k] = name
    for n in range(1, 14):
        table[234 + n] = "TeamBox%d" % n
    for k, name in enumerate(names):
        table[k] = name
    if sorted(table) != list(range(FIELD_COUNT)):
        fail("internal: field item names do not cover every field")
    return [table[k] for k in range(FIELD_COUNT)]


# ---- output ----------------------------------------------------------------

def c_string(text):
    out = []
    for ch in text:
        if ch == "\\":
            out.append("\\\\")
        elif ch == '"':
            out.append('\\"')
        elif ch == "\r":
            out.append("\\r")
        elif ch == "\n":
            out.append("\\n")
        else:
            out.append(ch)
    return '"' + "".join(out) + '"'


HEADER = "// Generated by tools/gen_layout.py from the form's layout tables; do not edit.\n"


def write_layout(items_by_page, out_dir):
    kinds = {"L": "LayoutItemKind::Label", "T": "LayoutItemKind::Text", "R": "LayoutItemKind::Rect"}
    lines = [HEADER, '#include "PlanLayoutTable.h"', "", "namespace planlayout {", ""]
    for page, items in items_by_page.items():
        lines.append("const std::array<LayoutItemDef, %d> kPage%dItems = {{" % (len(items), page))
        for it in items:
            lines.append(
                "    {%d, %s, %s, %d, %d, %d, %d, %d, %s, %d, %s, %s, %s}," % (
                    it.number, c_string(it.name), kinds[it.kind], it.left, it.top, it.width,
                    it.height, it.size, "true" if it.bold else "false", it.leading,
                    "true" if it.wrap else "false", c_string(it.text),
                    "true" if it.filled else "false"))
        lines.append("}};")
        lines.append("")
    lines.append("} // namespace planlayout")
    (out_dir / "PlanLayoutTable.cpp").write_text("\n".join(lines) + "\n", encoding="utf-8")


def write_fields(fields, names, items_by_page, out_dir):
    by_name = {it.name: it for items in items_by_page.values() for it in items}
    lines = [HEADER, '#include "PlanFieldTable.h"', "", "namespace planlayout {", "",
             "const std::array<FieldPosition, %d> kFieldPositions = {{" % FIELD_COUNT]
    for index, ((page, x, y), name) in enumerate(zip(fields, names)):
        item = by_name.get(name)
        if item is None or item.page != page or item.kind == "R" or not item.filled:
            fail("field %d: %s is not a filled text item of page %d" % (index, name, page))
        lines.append("    {%d, %d, %d, %s}, // %d" % (page, x, y, c_string(name), index))
    lines.append("}};")
    lines.append("")
    lines.append("} // namespace planlayout")
    (out_dir / "PlanFieldTable.cpp").write_text("\n".join(lines) + "\n", encoding="utf-8")


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    lines = pathlib.Path(sys.argv[1]).read_text(encoding="utf-8").splitlines()
    out_dir = pathlib.Path(sys.argv[2]) if len(sys.argv) == 3 else \
        pathlib.Path(__file__).resolve().parent.parent / "src" / "report"
    items_by_page = {1: parse_page(lines, 1), 2: parse_page(lines, 2)}
    fields = parse_fields(lines)
    names = field_item_names()
    write_layout(items_by_page, out_dir)
    write_fields(fields, names, items_by_page, out_dir)
    for page, items in items_by_page.items():
        counts = {k: sum(1 for it in items if it.kind == k) for k in "TLR"}
        print("page %d: %d text blocks, %d labels, %d rectangles" % (page, counts["T"], counts["L"], counts["R"]))
    print("%d field positions" % len(fields))


if __name__ == "__main__":
    main()
