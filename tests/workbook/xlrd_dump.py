"""Prints a workbook as python3-xlrd sees it, one fact a line, tab-separated:
  S <sheet> <name>
  C <sheet> <row> <col> <type> <value>    type: n number, s text, b bool, e error, blank
  W <sheet> <col> <width>                 column widths (BIFF8 only)
Texts escape backslash, tab and line feed. Exits 1 with xlrd's message when
xlrd cannot read the file."""
import sys

import xlrd


def esc(s):
    return s.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")


def main(path):
    try:
        book = xlrd.open_workbook(path, formatting_info=True, on_demand=False)
    except Exception:
        try:
            book = xlrd.open_workbook(path)
        except Exception as e:
            sys.stderr.write("%s\n" % e)
            return 1
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
    sys.stdout.write("\n".join(out) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
