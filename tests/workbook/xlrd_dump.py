"""Prints a workbook as python3-xlrd sees it, one fact a line, tab-separated:
  S <sheet> <name>
  C <sheet> <row> <col> <type> <value>    type: n number, s text, b bool, e error, blank
  W <sheet> <col> <width>                 column widths (BIFF8 only)
Texts escape backslash, tab and line feed. Exits 1 with xlrd's message when
xlrd cannot read the file. With several files (one interpreter start for many
small workbooks) each begins with "F <index>", and a file xlrd cannot read
gives "X <index> <message>" instead of failing the run."""
import sys

import xlrd


def esc(s):
    return s.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")


def dump(path):
    try:
        book = xlrd.open_workbook(path, formatting_info=True, on_demand=False)
    except Exception:
        book = xlrd.open_workbook(path)
    kinds = {xlrd.XL_CELL_NUMBER: "n", xlrd.XL_CELL_TEXT: "s", xlrd.XL_CELL_BOOLEAN: "b",
             xlrd.XL_CELL_ERROR: "e", xlrd.XL_CELL_BLANK: "blank"}
    out = []
    for si, sheet in enumerate(book.sheets()):
        out.append("S\t%d\t%s" % (si, esc(sheet.name)))
        for r in range(sheet.nrows):
            for c in range(sheet.row_len(r)):
                cell = sheet.cell(r, c)
                kind = kinds.get(cell.ctype)
                if kind is None:
                    continue
                value = repr(cell.value) if kind == "n" else esc(str(cell.value))
                out.append("C\t%d\t%d\t%d\t%s\t%s" % (si, r, c, kind, value))
        for c, info in sorted(getattr(sheet, "colinfo_map", {}).items()):
            out.append("W\t%d\t%d\t%d" % (si, c, info.width))
    return out


def main(paths):
    if len(paths) == 1:
        try:
            out = dump(paths[0])
        except Exception as e:
            sys.stderr.write("%s\n" % e)
            return 1
        sys.stdout.write("\n".join(out) + "\n")
        return 0
    for i, path in enumerate(paths):
        sys.stdout.write("F\t%d\n" % i)
        try:
            out = dump(path)
        except Exception as e:
            out = ["X\t%d\t%s" % (i, esc(str(e) or type(e).__name__))]
        sys.stdout.write("\n".join(out) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
