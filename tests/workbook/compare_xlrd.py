#!/usr/bin/python3
"""Compares what xls-dump reports with what python3-xlrd reads, cell for cell
(and the sheet names and column widths).

Usage: compare_xlrd.py XLS_DUMP WORKBOOK...

For every workbook: the worksheet names must match xlrd's, and the last text
reported for each cell must be xlrd's value in the reader's text form. Cells
the reader passes over by design (blank cells, BOOLERR booleans and errors)
may be missing; a formula with a text, error or empty result may first be
reported as NAN. No cell may appear that xlrd does not have.
"""
import math
import subprocess
import sys

import xlrd
import xlrd.sheet


# xlrd takes the length of a BIFF5/BIFF7 STRING record (a byte count) for a
# character count, and fails on double-byte texts; read those by bytes.
_string_record_contents = xlrd.sheet.Sheet.string_record_contents


def _string_by_bytes(self, data):
    if self.biff_version >= 80:
        return _string_record_contents(self, data)
    lenlen = (self.biff_version >= 30) + 1
    n = int.from_bytes(data[:lenlen], "little")
    enc = self.book.encoding or self.book.derive_encoding()
    return data[lenlen:lenlen + n].decode(enc)


xlrd.sheet.Sheet.string_record_contents = _string_by_bytes


def general(v):
    """The reader's general number format."""
    if math.isnan(v):
        return "NAN"
    if math.isinf(v):
        return "-INF" if v < 0 else "INF"
    if v == 0:
        return "0"
    s = "%.14e" % v
    neg = s.startswith("-")
    if neg:
        s = s[1:]
    mant, exp = s.split("e")
    exp = int(exp)
    digits = (mant[0] + mant[2:]).rstrip("0") or "0"
    out = "-" if neg else ""
    if -5 <= exp < 15:
        if exp >= 0:
            n = exp + 1
            if len(digits) <= n:
                out += digits + "0" * (n - len(digits))
            else:
                out += digits[:n] + "." + digits[n:]
        else:
            out += "0." + "0" * (-exp - 1) + digits
    else:
        out += digits[0]
        if len(digits) > 1:
            out += "." + digits[1:]
        out += "E%d" % exp
    return out


def escape(s):
    return s.replace("\\", "\\\\").replace("\t", "\\t").replace("\r", "\\r").replace("\n", "\\n")


def run(tool, *args):
    p = subprocess.run([tool, *args], capture_output=True)
    if p.returncode != 0:
        raise RuntimeError("%s %s failed: %s" % (tool, " ".join(args), p.stderr.decode("utf-8", "replace")))
    return p.stdout.decode("utf-8").splitlines()


def compare(tool, path):
    errors = []
    book = xlrd.open_workbook(path, formatting_info=True)
    names = run(tool, "--sheets", path)
    want_names = [escape(n) for n in book.sheet_names()]
    # BIFF2-BIFF4 worksheet files carry no sheet list; xlrd makes up a name.
    if book.biff_version < 50:
        want_names = []
    if names != want_names:
        errors.append("sheet names %r, xlrd %r" % (names, want_names))

    # Column widths; xlrd keeps columns up to 255 only.
    widths = []
    for line in run(tool, "--widths", path):
        sheet, col, width = (int(x) for x in line.split("\t"))
        if col <= 255:
            widths.append((sheet, col, width))
    want_widths = [(si + 1, c, info.width)
                   for si, sh in enumerate(book.sheets())
                   for c, info in sorted(sh.colinfo_map.items())]
    if sorted(widths) != want_widths:
        errors.append("column widths %r..., xlrd %r..." % (sorted(widths)[:6], want_widths[:6]))

    seen = {}
    for line in run(tool, path):
        sheet, row, col, text = line.split("\t", 3)
        seen.setdefault((int(sheet), int(row), int(col)), []).append(text)

    want = {}
    for si in range(book.nsheets):
        sh = book.sheet_by_index(si)
        for r in range(sh.nrows):
            for c in range(sh.ncols):
                cell = sh.cell(r, c)
                want[(si + 1, r, c)] = cell

    for key, texts in seen.items():
        cell = want.get(key)
        if cell is None or cell.ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
            errors.append("%s: reported %r, xlrd has no value" % (key, texts))
            continue
        last = texts[-1]
        earlier = texts[:-1]
        if any(t != "NAN" for t in earlier):
            errors.append("%s: reported %r more than once" % (key, texts))
        if cell.ctype == xlrd.XL_CELL_TEXT:
            ok = last == escape(cell.value) or (cell.value == "" and last == "NAN")
        elif cell.ctype in (xlrd.XL_CELL_NUMBER, xlrd.XL_CELL_DATE):
            ok = last == general(cell.value)
        elif cell.ctype == xlrd.XL_CELL_BOOLEAN:
            ok = last == ("TRUE" if cell.value else "FALSE")
        elif cell.ctype == xlrd.XL_CELL_ERROR:
            ok = last == "NAN"
        else:
            ok = False
        if not ok:
            errors.append("%s: reported %r, xlrd %r (type %d)" % (key, texts, cell.value, cell.ctype))

    for key, cell in want.items():
        if key in seen:
            continue
        if cell.ctype in (xlrd.XL_CELL_TEXT, xlrd.XL_CELL_NUMBER, xlrd.XL_CELL_DATE):
            if cell.ctype == xlrd.XL_CELL_TEXT and cell.value == "":
                continue
            errors.append("%s: missing, xlrd %r" % (key, cell.value))
    return errors, len(seen)


def main():
    tool = sys.argv[1]
    failed = False
    for path in sys.argv[2:]:
        errors, count = compare(tool, path)
        status = "ok" if not errors else "FAILED"
        print("%s: %d cells, %s" % (path, count, status))
        for e in errors[:30]:
            print("  " + e)
        failed = failed or bool(errors)
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
