"""Prints the non-empty cells of one worksheet as python3-xlrd sees them:
row, column (from 0), type and value, tab-separated."""
import sys

import xlrd

book = xlrd.open_workbook(sys.argv[1])
sheet = book.sheet_by_name(sys.argv[2])
kinds = {xlrd.XL_CELL_TEXT: "text", xlrd.XL_CELL_NUMBER: "number"}
for r in range(sheet.nrows):
    for c in range(sheet.ncols):
        cell = sheet.cell(r, c)
        if cell.ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
            continue
        value = cell.value
        if cell.ctype == xlrd.XL_CELL_NUMBER and value == int(value):
            value = int(value)
        sys.stdout.write("%d\t%d\t%s\t%s\n" % (r, c, kinds.get(cell.ctype, str(cell.ctype)), value))
