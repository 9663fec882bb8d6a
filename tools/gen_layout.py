#!/usr/bin/env python3
"""Generates the plan layout table and the field position table from the
tab-separated data files in tools/data.

Usage: tools/gen_layout.py [OUTPUT_ROOT]

Reads, from tools/data next to this script:
  layout-page1.tsv, layout-page2.tsv  text blocks and labels of each page
  rects-page1.tsv, rects-page2.tsv    rectangles of each page
  fields.tsv                          every field of a plan: its record member and
                                      JSON key, kind, limit, check order, the layout
                                      item that prints it and where the reader finds
                                      it, the editor control and the caption
Lines starting with "#" are comments; the first other line names the columns
and must match exactly.

Writes, below OUTPUT_ROOT (default: the repository root):
  src/report/PlanLayoutTable.cpp   the 558 items of both pages in printing order
  src/planfile/PlanFieldTable.cpp  the 248 fields, each with all it says and an
                                   accessor of its record member
  src/planfile/PlanFieldCount.h    how many fields there are
The printing numbers are checked (1..n without
gaps), unique names and that each field names a filled text item of its page
whose filled value is the field's record member, unique keys and controls,
the kinds and limits, and check places 1..n without gaps,
so a damaged data file stops the run instead of producing a silently
different layout.
"""

import pathlib
import re
import sys


LAYOUT_COLUMNS = ["number", "name", "kind", "left", "top", "width", "height", "size", "bold", "leading",
                  "wrap", "text", "filled"]
RECT_COLUMNS = ["number", "name", "left", "top", "width", "height"]
FIELD_COLUMNS = ["index", "key", "json", "kind", "choices", "limit", "check", "item", "page", "x", "y",
                 "control", "caption"]
KINDS = ["Date", "Number", "Choice", "Tick", "Mark", "Priority", "Text", "Memo"]
CHOICES = {"": "ChoiceList::None", "sexes": "ChoiceList::Sexes", "care-levels": "ChoiceList::CareLevels"}

LAYOUT_OUTPUT = pathlib.Path("src/report/PlanLayoutTable.cpp")
FIELD_OUTPUT = pathlib.Path("src/planfile/PlanFieldTable.cpp")
COUNT_OUTPUT = pathlib.Path("src/planfile/PlanFieldCount.h")


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


def read_rows(path, columns):
    """The data rows of a tab-separated file as lists of cells, each tagged with
    its line number for messages. Cells are taken as they are: a full-width
    space at either end of a text is part of the printed text."""
    rows = []
    header_seen = False
    for number, line in enumerate(path.read_text(encoding="utf-8").split("\n"), start=1):
        if line == "" or line.startswith("#"):
            continue
        cells = line.split("\t")
        where = "%s:%d" % (path.name, number)
        if not header_seen:
            if cells != columns:
                fail("%s: expected the columns %s" % (where, " ".join(columns)))
            header_seen = True
            continue
        if len(cells) != len(columns):
            fail("%s: %d cells, expected %d" % (where, len(cells), len(columns)))
        rows.append((where, cells))
    if not header_seen:
        fail("%s: no column line" % path.name)
    return rows


def number(where, cell):
    try:
        return int(cell)
    except ValueError:
        fail("%s: not a whole number: %r" % (where, cell))


def flag(where, cell):
    if cell not in ("", "yes"):
        fail("%s: expected yes or nothing, got %r" % (where, cell))
    return cell == "yes"


def read_layout(path, page):
    items = []
    for where, c in read_rows(path, LAYOUT_COLUMNS):
        kind = c[2]
        if kind not in ("L", "T"):
            fail("%s: unknown kind %r" % (where, kind))
        if kind == "T" and not c[9]:
            fail("%s: text block without leading" % where)
        if kind == "L" and c[9]:
            fail("%s: label with a leading" % where)
        text, filled = c[11], c[12]
        if text and filled:
            fail("%s: both a fixed text and a filled value" % where)
        items.append(Item(page, number(where, c[0]), c[1], kind, number(where, c[3]), number(where, c[4]),
                          number(where, c[5]), number(where, c[6]), number(where, c[7]), flag(where, c[8]),
                          number(where, c[9]) if c[9] else 0, flag(where, c[10]),
                          text.replace("⏎", "\r\n"), filled != ""))
        items[-1].filled_value = filled
    return items


def read_rects(path, page):
    rects = [Item(page, number(where, c[0]), c[1], "R", *(number(where, v) for v in c[2:6]))
             for where, c in read_rows(path, RECT_COLUMNS)]
    for rect in rects:
        rect.filled_value = ""
    return rects


def read_page(data_dir, page):
    items = read_layout(data_dir / ("layout-page%d.tsv" % page), page) + \
        read_rects(data_dir / ("rects-page%d.tsv" % page), page)
    items.sort(key=lambda it: it.number)
    if [it.number for it in items] != list(range(1, len(items) + 1)):
        fail("page %d: printing numbers are not 1..%d without gaps" % (page, len(items)))
    names = [it.name for it in items]
    if len(set(names)) != len(names):
        fail("page %d: duplicate item names" % page)
    return items


class Field:
    def __init__(self, **values):
        self.__dict__.update(values)


def read_fields(path, items_by_page):
    by_name = {(it.page, it.name): it for items in items_by_page.values() for it in items}
    fields = []
    for where, c in read_rows(path, FIELD_COLUMNS):
        f = Field(index=number(where, c[0]), key=c[1], json=c[2], kind=c[3], choices=c[4],
                  limit=number(where, c[5]) if c[5] else 0, check=number(where, c[6]) if c[6] else 0,
                  item=c[7], page=number(where, c[8]), x=number(where, c[9]), y=number(where, c[10]),
                  control=c[11], caption=c[12])
        if f.index != len(fields):
            fail("%s: field %d where %d was expected" % (where, f.index, len(fields)))
        if f.kind not in KINDS:
            fail("%s: unknown kind %r" % (where, f.kind))
        if f.choices not in CHOICES or (f.kind == "Choice") != (f.choices != ""):
            fail("%s: choices %r do not suit a %s" % (where, f.choices, f.kind))
        if f.limit and f.kind not in ("Text", "Memo", "Number"):
            fail("%s: a byte limit on a %s" % (where, f.kind))
        if not f.key or not f.control or not f.caption:
            fail("%s: key, control and caption are required" % where)
        item = by_name.get((f.page, f.item))
        if item is None or item.kind == "R" or not item.filled:
            fail("%s: %s is not a filled text item of page %d" % (where, f.item, f.page))
        if re.match(r"[A-Za-z0-9\[\].]*", item.filled_value).group(0) != f.key:
            fail("%s: item %s is filled with %r, not %s" % (where, f.item, item.filled_value, f.key))
        fields.append(f)
    if not fields:
        fail("%s: no fields" % path.name)
    for attribute in ("key", "json", "control", "item"):
        values = [getattr(f, attribute) for f in fields]
        if len(set(values)) != len(values):
            fail("%s: the %s column repeats a value" % (path.name, attribute))
    checks = sorted(f.check for f in fields if f.check)
    if checks != list(range(1, len(checks) + 1)):
        fail("%s: check places are not 1..%d without gaps" % (path.name, len(checks)))
    return fields


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


def write(root, relative, lines):
    path = root / relative
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(("\n".join(lines) + "\n").encode("utf-8"))


def write_layout(items_by_page, root):
    kinds = {"L": "LayoutItemKind::Label", "T": "LayoutItemKind::Text", "R": "LayoutItemKind::Rect"}
    lines = [HEADER, '#include "report/PlanLayoutTable.h"', "", "namespace planlayout {", ""]
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
    write(root, LAYOUT_OUTPUT, lines)


def member_access(key):
    """The C++ expression of a record member path: "ActivityItems[3].Goods"
    is p.ActivityItems[3].Goods."""
    if not all(part.replace("[", "").replace("]", "").isalnum() for part in key.split(".")):
        fail("fields.tsv: %r is not a record member" % key)
    return "p." + key


def write_fields(fields, root):
    lines = [HEADER, '#include "planfile/PlanFieldTable.h"', "", "namespace planfile {", "",
             "const std::array<PlanField, kFieldCount> kPlanFields = {{"]
    for f in fields:
        lines.append("    {%d, %s, %s, FieldKind::%s, %s, %d, %d, %s, %d, %d, %d, %s, %s," % (
            f.index, c_string(f.key), c_string(f.json), f.kind, CHOICES[f.choices], f.limit, f.check,
            c_string(f.item), f.page, f.x, f.y, c_string(f.control), c_string(f.caption)))
        lines.append("     [](TPRACTDATA &p) -> FieldRef { return &%s; }}," % member_access(f.key))
    lines.append("}};")
    lines.append("")
    lines.append("} // namespace planfile")
    write(root, FIELD_OUTPUT, lines)
    write(root, COUNT_OUTPUT, [HEADER, "#pragma once", "", "namespace planfile {", "",
                               "// How many fields a plan has: the rows of tools/data/fields.tsv.",
                               "constexpr int kFieldCount = %d;" % len(fields), "", "} // namespace planfile"])


def main():
    if len(sys.argv) > 2:
        sys.exit(__doc__)
    here = pathlib.Path(__file__).resolve().parent
    root = pathlib.Path(sys.argv[1]) if len(sys.argv) == 2 else here.parent
    data_dir = here / "data"
    items_by_page = {1: read_page(data_dir, 1), 2: read_page(data_dir, 2)}
    fields = read_fields(data_dir / "fields.tsv", items_by_page)
    write_layout(items_by_page, root)
    write_fields(fields, root)
    for page, items in items_by_page.items():
        counts = {k: sum(1 for it in items if it.kind == k) for k in "TLR"}
        print("page %d: %d text blocks, %d labels, %d rectangles" % (page, counts["T"], counts["L"], counts["R"]))
    print("%d fields" % len(fields))


if __name__ == "__main__":
    main()
