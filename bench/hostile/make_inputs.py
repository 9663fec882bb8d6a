#!/usr/bin/env python3
"""Writes the hostile input shapes the reader, the JSON reading and the
index must handle in linear time and bounded memory, for timing with
/usr/bin/time -v (see README.md here).

    make_inputs.py PLAN.pdf OUT_DIR

PLAN.pdf is a plan written by `ovilant-plan render` with all 13 team
members filled in; the shapes that need a plan start from it. Nothing here is committed output: every file is made
again on demand.
"""
import json
import os
import re
import sys


def rebuild(pdf: bytes) -> bytes:
    """The objects of a file in our writer's shape, with every content
    stream's Length, the cross-reference table and startxref made again."""
    head_end = pdf.index(b'1 0 obj')
    out = bytearray(pdf[:head_end])
    offsets = {}
    for m in re.finditer(rb'(\d+) 0 obj\r\n(.*?)\r\nendobj\r\n', pdf[head_end:pdf.rindex(b'xref')], re.S):
        number, body = int(m.group(1)), m.group(2)
        s = body.find(b'stream\r\n')
        if s >= 0 and b'/Length' in body[:s]:
            data = body[s + 8:body.rindex(b'\nendstream')]
            body = re.sub(rb'/Length \d+', b'/Length %d' % len(data), body[:s]) + body[s:]
        offsets[number] = len(out)
        out += b'%d 0 obj\r\n' % number + body + b'\r\nendobj\r\n'
    xref = len(out)
    size = max(offsets) + 1
    out += b'xref\r\n0 %d\r\n0000000000 65535 f\r\n' % size
    for n in range(1, size):
        out += b'%010d 00000 n\r\n' % offsets[n]
    out += b'trailer\r\n<<\r\n/Size %d\r\n/Root 1 0 R\r\n/Info 2 0 R\r\n>>\r\nstartxref\r\n%d\r\n%%%%EOF\r\n' % (size, xref)
    return bytes(out)


def long_texts(plan: bytes, lines: int, width: int) -> bytes:
    """The texts the index keeps (the name on page 1, the team at the foot
    of page 2) each shown as `lines` lines of `width` letters: texts at the
    reader's bounds."""
    line = b'(' + b'A' * width + b') Tj\n'
    text = line + (b'T*\n' + line) * (lines - 1)
    page2 = plan.rindex(b'\nBT\n')
    page2 = plan.rindex(b'stream\r\n', 0, page2)

    def replace(m):
        return m.group(1) + text

    plan = re.sub(rb'(BT\n40 799\.5 Td\n)<[0-9A-F]+> Tj\n', replace, plan, count=1)
    tail = re.sub(rb'(BT\n\d+(?:\.\d+)? (?:[0-9]|[0-9][0-9]|1[0-3][0-9])(?:\.\d+)? Td\n)<[0-9A-F]+> Tj\n',
                  replace, plan[page2:])
    return rebuild(plan[:page2] + tail)


def xref_one_bucket(bucket_count: int, entries: int) -> bytes:
    """A file whose cross-reference section holds `entries` one-entry
    subsections whose keys (number * 65599 + generation) all leave the
    same remainder by `bucket_count`: one bucket of a hash table keyed by
    that value, whatever else the file holds."""
    head = b'%PDF-1.2 \r\n'
    catalog = head + b''
    objs = [b'1 0 obj\r\n<<\r\n/Type /Catalog\r\n/Pages 2 0 R\r\n>>\r\nendobj\r\n',
            b'2 0 obj\r\n<<\r\n/Type /Pages\r\n/Kids []\r\n/Count 0\r\n>>\r\nendobj\r\n']
    out = bytearray(head)
    offs = []
    for o in objs:
        offs.append(len(out))
        out += o
    xref = len(out)
    out += b'xref\r\n0 3\r\n0000000000 65535 f\r\n%010d 00000 n\r\n%010d 00000 n\r\n' % (offs[0], offs[1])
    n, made = 3, 0
    while made < entries:
        g = (-n * 65599) % bucket_count
        if g <= 99999:
            out += b'%d 1\r\n%010d %05d n\r\n' % (n, offs[0], g)
            made += 1
        n += 1
    out += b'trailer\r\n<<\r\n/Size %d\r\n/Root 1 0 R\r\n>>\r\nstartxref\r\n%d\r\n%%%%EOF\r\n' % (n, xref)
    return bytes(out)


def main():
    plan_path, out_dir = sys.argv[1], sys.argv[2]
    os.makedirs(out_dir, exist_ok=True)
    plan = open(plan_path, 'rb').read()

    def write(name, data):
        with open(os.path.join(out_dir, name), 'wb') as f:
            f.write(data)

    # libstdc++ grows an unordered_map of 170,000 (350,000) keys to 172,933
    # (351,061) buckets.
    write('xref-170k.pdf', xref_one_bucket(172933, 170000))
    write('xref-350k.pdf', xref_one_bucket(351061, 350000))
    # JSON: 40,000 keys with {} values; 1,000,000 {} in one array.
    write('keys-40k.json', ('{' + ','.join('"k%d":{}' % i for i in range(40000)) + '}').encode())
    write('empty-1m.json', ('{"Team":[' + ','.join(['{}'] * 1000000) + ']}').encode())
    # A key of 10 MB.
    write('key-10mb.json', ('{"' + 'K' * 10_000_000 + '":1}').encode())
    # A folder of 2,000 plans whose name and team texts are 16 lines of
    # 1 KiB: hard links to one file, read 2,000 times.
    folder = os.path.join(out_dir, 'plans')
    os.makedirs(folder, exist_ok=True)
    write('long-texts.pdf', long_texts(plan, 16, 1024))
    for i in range(2000):
        link = os.path.join(folder, 'plan%04d.pdf' % i)
        if not os.path.exists(link):
            os.link(os.path.join(out_dir, 'long-texts.pdf'), link)

if __name__ == '__main__':
    main()
