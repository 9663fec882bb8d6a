#!/usr/bin/env python3
"""Checks that the installed font rule makes the desktop's PDF renderer draw
the half-width spaces of a saved plan as spaces.

Usage: check_font_rule.py CMAKE BUILD_DIR WORK_DIR OVILANT_PLAN

Installs the build into WORK_DIR/prefix, saves a plan whose name holds
half-width spaces with `ovilant-plan render`, and draws the name's line with
pdftoppm under a fontconfig setup that reads the system's configuration and
the rule from the install tree. Between the two letters of "a<spaces>b" no
column may hold ink. Exits 77 (skipped) when pdftoppm or the font the rule
names is missing.
"""

import json
import os
import pathlib
import shutil
import subprocess
import sys

RULE = "share/fontconfig/conf.avail/65-ovilant-gothic.conf"
# The name field starts at x 40, y 799 (PDF units, y upwards) of page 1 in
# 10-point text; the crop covers its line at 4 pixels a unit.
SCALE = 4
CROP = {"x": 38 * SCALE, "y": (842 - 810) * SCALE, "W": 84 * SCALE, "H": 16 * SCALE}
SPACES = 8


def skip(why):
    print("skipped: " + why)
    sys.exit(77)


def read_pgm(path):
    """Width, height and the grey bytes of a binary PGM (P5, 8 bits)."""
    data = path.read_bytes()
    fields = []
    at = 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    if fields[0] != b"P5" or int(fields[3]) != 255:
        sys.exit("not an 8-bit binary PGM: %s" % path)
    return int(fields[1]), int(fields[2]), data[at + 1:]


def inked_columns(width, height, pixels):
    return [x for x in range(width) if any(pixels[y * width + x] < 128 for y in range(height))]


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    cmake, build, work, tool = sys.argv[1:]
    if shutil.which("pdftoppm") is None:
        skip("pdftoppm is missing")
    if "Noto Sans CJK JP" not in subprocess.run(["fc-list", ":family"], capture_output=True, text=True).stdout:
        skip("Noto Sans CJK JP is not installed")
    work = pathlib.Path(work)
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    prefix = work / "prefix"
    subprocess.run([cmake, "--install", build, "--prefix", str(prefix)], check=True, stdout=subprocess.DEVNULL)
    rule = prefix / RULE
    if not rule.is_file():
        sys.exit("the install tree has no %s" % RULE)
    conf = work / "fonts.conf"
    conf.write_text('<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">\n'
                    "<fontconfig>\n  <include>%s</include>\n"
                    '  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>\n'
                    "  <cachedir>%s</cachedir>\n</fontconfig>\n" % (rule, work / "cache"), encoding="utf-8")

    plan = work / "plan.json"
    plan.write_text(json.dumps({"Name": "a" + " " * SPACES + "b"}), encoding="utf-8")
    pdf = work / "plan.pdf"
    subprocess.run([tool, "render", str(plan), str(pdf)], check=True)
    env = dict(os.environ, FONTCONFIG_FILE=str(conf))
    out = work / "name"
    subprocess.run(["pdftoppm", "-gray", "-r", str(72 * SCALE), "-f", "1", "-l", "1", "-singlefile",
                    "-x", str(CROP["x"]), "-y", str(CROP["y"]), "-W", str(CROP["W"]), "-H", str(CROP["H"]),
                    str(pdf), str(out)], check=True, env=env)
    width, height, pixels = read_pgm(out.with_suffix(".pgm"))
    inked = inked_columns(width, height, pixels)
    if len(inked) < 2:
        sys.exit("the name did not draw: %d inked columns" % len(inked))
    # The widest run of blank columns between the first and the last ink is
    # the spaces: at least a quarter of an em each, drawn as nothing.
    gap = max(b - a - 1 for a, b in zip(inked, inked[1:]))
    least = SPACES * 10 * SCALE // 4
    if gap < least:
        sys.exit("ink between the letters: the widest blank run is %d pixels, %d expected" % (gap, least))
    print("spaces drawn blank: %d pixels between the letters" % gap)


if __name__ == "__main__":
    main()
