#!/usr/bin/env python3
"""Generates the table set of every plan layout version from the tab-separated
data files in tools/data.

Usage: tools/gen_layout.py [OUTPUT_ROOT]
       tools/gen_layout.py --layout DIR --version N --namespace NAME --output FILE

A layout version is a folder tools/data/layout-N (N = 1, 2, ...) holding
  pages.tsv                           the pages and the layout panel on each
  layout-page1.tsv, layout-page2.tsv  text blocks and labels of each page
  rects-page1.tsv, rects-page2.tsv    rectangles of each page
  fields.tsv                          every field of a plan: its record member and
                                      JSON key, kind, limit, check order, the layout
                                      item that prints it and where the reader finds
                                      it, the editor control, its kind and table row,
                                      and the caption
Lines starting with "#" are comments; the first other line names the columns
and must match exactly. A released folder is never edited: a changed layout
is a new folder with the next number.

The first form writes, below OUTPUT_ROOT (default: the repository root):
  src/planfile/PlanLayoutN.cpp  for each version N: its fields, the items of both
                                pages in printing order, and the layout itself
  src/planfile/PlanLayouts.h    the tables' declarations, sizes included, and the
                                fields of the newest version (kPlanFields)
  src/planfile/PlanLayouts.cpp  the versions this build reads, oldest first
The second form writes one version's table set on its own into FILE, in the
namespace NAME, with a function NAME::layout() that returns it (the tests use
it for a layout of their own).

Checked: the printing numbers (1..n without gaps), unique names, that each
field names a filled text item of its page whose filled value is the field's
record member, that the reader finds the field within its tolerance of where
the item's text starts (the point is worked out when the data leaves it
empty), unique keys, JSON keys, controls and items, the kinds, widgets, rows
and limits, and check places 1..n without gaps, so a damaged data file stops
the run instead of producing a silently different layout.
"""

import argparse
import math
import pathlib
import re
import sys


LAYOUT_COLUMNS = ["number", "name", "kind", "left", "top", "width", "height", "size", "bold", "leading",
                  "wrap", "text", "filled"]
RECT_COLUMNS = ["number", "name", "left", "top", "width", "height"]
PAGE_COLUMNS = ["page", "width", "height", "left", "top", "panel width", "panel height"]
FIELD_COLUMNS = ["index", "key", "json", "kind", "choices", "limit", "check", "item", "page", "x", "y",
                 "control", "widget", "row", "caption"]
KINDS = ["Date", "Number", "Choice", "Tick", "Mark", "Priority", "Text", "Memo"]
CHOICES = {"": "ChoiceList::None", "sexes": "ChoiceList::Sexes", "care-levels": "ChoiceList::CareLevels"}
# The control kinds and the value kinds each may edit.
WIDGETS = {"date": ("DateEdit", ["Date"]), "edit": ("Edit", ["Text"]), "score": ("ScoreEdit", ["Number"]),
           "age": ("AgeLabel", ["Number"]), "choice": ("ChoiceBox", ["Choice"]), "team": ("TeamBox", ["Text"]),
           "tick": ("TickBox", ["Tick"]), "mark": ("MarkCell", ["Mark"]),
           "priority": ("PriorityCell", ["Priority"]), "memo": ("Memo", ["Memo"])}
# The table rows of the form: a row's record members and the row numbers the form gives them.
TABLES = [("ActivityItems", 0, 13), ("MotionItems", 20, 8)]
# How far (whole units, both ways) a text may start from a field's point and still be the
# field's: the reader's rule, which the points of the data must keep.
READER_TOLERANCE = 5
# A text's first line starts this many font sizes below the top of its box.
BASELINE_DROP = 0.85

SOURCE = pathlib.Path("src/planfile")
HEADER_OUTPUT = SOURCE / "PlanLayouts.h"
CATALOG_OUTPUT = SOURCE / "PlanLayouts.cpp"


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
    if not path.is_file():
        fail("%s: no such file" % path)
    for number, line in enumerate(path.read_text(encoding="utf-8").split("\n"), start=1):
        if line == "" or line.startswith("#"):
            continue
        cells = line.split("\t")
        where = "%s:%d" % (path, number)
        if not header_seen:
            if cells != columns:
                fail("%s: expected the columns %s" % (where, " ".join(columns)))
            header_seen = True
            continue
        if len(cells) != len(columns):
            fail("%s: %d cells, expected %d" % (where, len(cells), len(columns)))
        rows.append((where, cells))
    if not header_seen:
        fail("%s: no column line" % path)
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


class Page:
    def __init__(self, **values):
        self.__dict__.update(values)


def read_pages(path):
    pages = {}
    for where, c in read_rows(path, PAGE_COLUMNS):
        values = [number(where, v) for v in c]
        pages[values[0]] = Page(number=values[0], width=values[1], height=values[2], left=values[3],
                                top=values[4], panel_width=values[5], panel_height=values[6])
    if sorted(pages) != [1, 2]:
        fail("%s: expected pages 1 and 2" % path)
    return pages


def text_start(item, page):
    """Where the item's text starts on its page, as the reader sees it: the
    panel's offset plus the item's left edge, and the first baseline below the
    top of its box, in PDF units (y upwards) truncated toward zero."""
    x = page.left + item.left
    y = page.height - (page.top + item.top) - item.size * BASELINE_DROP
    return math.trunc(x), math.trunc(y)


class Field:
    def __init__(self, **values):
        self.__dict__.update(values)


def table_row(where, key):
    """The form's row number of a table row's record member, or -1."""
    for member, first, count in TABLES:
        match = re.match(re.escape(member) + r"\[(\d+)\]", key)
        if match:
            row = int(match.group(1))
            if row >= count:
                fail("%s: %s has rows 0..%d" % (where, member, count - 1))
            return first + row
    return -1


def read_fields(path, items_by_page, pages):
    by_name = {(it.page, it.name): it for items in items_by_page.values() for it in items}
    fields = []
    for where, c in read_rows(path, FIELD_COLUMNS):
        f = Field(index=number(where, c[0]), key=c[1], json=c[2], kind=c[3], choices=c[4],
                  limit=number(where, c[5]) if c[5] else 0, check=number(where, c[6]) if c[6] else 0,
                  item=c[7], page=number(where, c[8]), control=c[11], widget=c[12],
                  row=number(where, c[13]) if c[13] else -1, caption=c[14])
        if f.index != len(fields):
            fail("%s: field %d where %d was expected" % (where, f.index, len(fields)))
        if f.kind not in KINDS:
            fail("%s: unknown kind %r" % (where, f.kind))
        if f.choices not in CHOICES or (f.kind == "Choice") != (f.choices != ""):
            fail("%s: choices %r do not suit a %s" % (where, f.choices, f.kind))
        if f.limit and f.kind not in ("Text", "Memo", "Number"):
            fail("%s: a byte limit on a %s" % (where, f.kind))
        if not f.key or not f.json or not f.control or not f.caption:
            fail("%s: key, json, control and caption are required" % where)
        if f.widget not in WIDGETS or f.kind not in WIDGETS[f.widget][1]:
            fail("%s: widget %r does not edit a %s" % (where, f.widget, f.kind))
        if f.widget == "score" and not f.check:
            fail("%s: a score is typed, so it is checked" % where)
        if f.row != table_row(where, f.key):
            fail("%s: %s lies in table row %d, not %d" % (where, f.key, table_row(where, f.key), f.row))
        item = by_name.get((f.page, f.item))
        if item is None or item.kind == "R" or not item.filled:
            fail("%s: %s is not a filled text item of page %d" % (where, f.item, f.page))
        if re.match(r"[A-Za-z0-9\[\].]*", item.filled_value).group(0) != f.key:
            fail("%s: item %s is filled with %r, not %s" % (where, f.item, item.filled_value, f.key))
        start = text_start(item, pages[f.page])
        if c[9] == "" and c[10] == "":
            f.x, f.y = start
        else:
            f.x, f.y = number(where, c[9]), number(where, c[10])
            if abs(f.x - start[0]) > READER_TOLERANCE or abs(f.y - start[1]) > READER_TOLERANCE:
                fail("%s: the reader looks for %s at (%d, %d), but its text starts at (%d, %d)"
                     % (where, f.key, f.x, f.y, start[0], start[1]))
        fields.append(f)
    if not fields:
        fail("%s: no fields" % path)
    for attribute in ("key", "json", "control", "item"):
        values = [getattr(f, attribute) for f in fields]
        if len(set(values)) != len(values):
            fail("%s: the %s column repeats a value" % (path, attribute))
    checks = sorted(f.check for f in fields if f.check)
    if checks != list(range(1, len(checks) + 1)):
        fail("%s: check places are not 1..%d without gaps" % (path, len(checks)))
    return fields


class Layout:
    def __init__(self, version, data_dir):
        self.version = version
        self.pages = read_pages(data_dir / "pages.tsv")
        self.items = {1: read_page(data_dir, 1), 2: read_page(data_dir, 2)}
        self.fields = read_fields(data_dir / "fields.tsv", self.items, self.pages)


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


HEADER = "// Generated by tools/gen_layout.py from the layout data in %s; do not edit.\n"


def write(path, lines):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(("\n".join(lines) + "\n").encode("utf-8"))


def member_access(key):
    """The C++ expression of a record member path: "ActivityItems[3].Goods"
    is p.ActivityItems[3].Goods."""
    if not all(part.replace("[", "").replace("]", "").isalnum() for part in key.split(".")):
        fail("fields.tsv: %r is not a record member" % key)
    return "p." + key


def table_lines(layout, storage):
    """The definitions of one version's fields, items and layout. `storage`
    precedes each array: "" when a header declares them, "static " when the
    file stands on its own."""
    kinds = {"L": "LayoutItemKind::Label", "T": "LayoutItemKind::Text", "R": "LayoutItemKind::Rect"}
    lines = ["%sconst std::array<PlanField, %d> kFields = {{" % (storage, len(layout.fields))]
    for f in layout.fields:
        lines.append("    {%d, %s, %s, FieldKind::%s, %s, %d, %d, %s, %d, %d, %d, %s, ControlKind::%s, %d, %s," % (
            f.index, c_string(f.key), c_string(f.json), f.kind, CHOICES[f.choices], f.limit, f.check,
            c_string(f.item), f.page, f.x, f.y, c_string(f.control), WIDGETS[f.widget][0], f.row,
            c_string(f.caption)))
        lines.append("     [](TPRACTDATA &p) -> FieldRef { return &%s; }}," % member_access(f.key))
    lines += ["}};", ""]
    for page, items in layout.items.items():
        lines.append("%sconst std::array<LayoutItemDef, %d> kPage%dItems = {{" % (storage, len(items), page))
        for it in items:
            lines.append(
                "    {%d, %s, %s, %d, %d, %d, %d, %d, %s, %d, %s, %s, %s}," % (
                    it.number, c_string(it.name), kinds[it.kind], it.left, it.top, it.width,
                    it.height, it.size, "true" if it.bold else "false", it.leading,
                    "true" if it.wrap else "false", c_string(it.text),
                    "true" if it.filled else "false"))
        lines += ["}};", ""]
    pages = ", ".join("{%d, %d, %d, %d, %d, %d}" % (p.width, p.height, p.left, p.top, p.panel_width,
                                                    p.panel_height) for p in layout.pages.values())
    lines.append("%sconst PlanLayout kLayout{%d, kFields, kPage1Items, kPage2Items, {{%s}}};" % (
        storage, layout.version, pages))
    return lines


def write_built_in(layouts, root, data_root):
    for layout in layouts:
        name = "layout-%d" % layout.version
        lines = [HEADER % ("tools/data/" + name), '#include "planfile/PlanLayouts.h"', "",
                 "namespace planfile::layout%d {" % layout.version, ""]
        lines += table_lines(layout, "")
        lines += ["", "} // namespace planfile::layout%d" % layout.version]
        write(root / SOURCE / ("PlanLayout%d.cpp" % layout.version), lines)

    newest = layouts[-1]
    lines = [HEADER % "tools/data", "#pragma once", "", '#include "planfile/PlanLayout.h"', "",
             "#include <array>", "#include <span>", "", "namespace planfile {", ""]
    for layout in layouts:
        lines += ["// Layout %d: tools/data/layout-%d." % (layout.version, layout.version),
                  "namespace layout%d {" % layout.version,
                  "extern const std::array<PlanField, %d> kFields;" % len(layout.fields),
                  "extern const std::array<LayoutItemDef, %d> kPage1Items;" % len(layout.items[1]),
                  "extern const std::array<LayoutItemDef, %d> kPage2Items;" % len(layout.items[2]),
                  "extern const PlanLayout kLayout;",
                  "} // namespace layout%d" % layout.version, ""]
    lines += ["// The layout a save writes: the newest this build knows.",
              "constexpr int kNewestLayoutVersion = %d;" % newest.version, "",
              "// The fields of the newest layout, the ones the editor and the JSON form edit.",
              "inline constexpr std::span<const PlanField> kPlanFields{layout%d::kFields};" % newest.version,
              "", "} // namespace planfile"]
    write(root / HEADER_OUTPUT, lines)

    lines = [HEADER % "tools/data", '#include "planfile/PlanLayouts.h"', "", "namespace planfile {", "",
             "const LayoutCatalog &builtInLayouts()", "{",
             "    static const LayoutCatalog catalog({%s});" % ", ".join(
                 "&layout%d::kLayout" % layout.version for layout in layouts),
             "    return catalog;", "}", "", "} // namespace planfile"]
    write(root / CATALOG_OUTPUT, lines)


def write_standalone(layout, namespace, output, data_dir):
    lines = [HEADER % data_dir, '#include "planfile/PlanLayout.h"', "", "#include <array>", "",
             "namespace %s {" % namespace, "", "using namespace planfile;", ""]
    lines += table_lines(layout, "static ")
    lines += ["", "const PlanLayout &layout()", "{", "    return kLayout;", "}", "",
              "} // namespace %s" % namespace]
    write(output, lines)


def built_in_layouts(data_root):
    """Every layout-N folder, N = 1, 2, ... without gaps."""
    found = {}
    for folder in data_root.iterdir():
        match = re.fullmatch(r"layout-(\d+)", folder.name)
        if folder.is_dir() and match:
            found[int(match.group(1))] = folder
    if sorted(found) != list(range(1, len(found) + 1)):
        fail("%s: layout folders are not layout-1..layout-%d without gaps" % (data_root, len(found)))
    return [Layout(version, found[version]) for version in sorted(found)]


def report(layout):
    for page, items in layout.items.items():
        counts = {k: sum(1 for it in items if it.kind == k) for k in "TLR"}
        print("layout %d page %d: %d text blocks, %d labels, %d rectangles" % (
            layout.version, page, counts["T"], counts["L"], counts["R"]))
    print("layout %d: %d fields" % (layout.version, len(layout.fields)))


def main():
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("root", nargs="?")
    parser.add_argument("--layout")
    parser.add_argument("--version", type=int)
    parser.add_argument("--namespace")
    parser.add_argument("--output")
    args = parser.parse_args()
    here = pathlib.Path(__file__).resolve().parent
    if args.layout:
        if args.root or not (args.version and args.namespace and args.output):
            sys.exit(__doc__)
        layout = Layout(args.version, pathlib.Path(args.layout))
        write_standalone(layout, args.namespace, pathlib.Path(args.output), args.layout)
        report(layout)
        return
    root = pathlib.Path(args.root) if args.root else here.parent
    layouts = built_in_layouts(here / "data")
    write_built_in(layouts, root, here / "data")
    for layout in layouts:
        report(layout)


if __name__ == "__main__":
    main()
