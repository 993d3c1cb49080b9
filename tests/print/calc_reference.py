#!/usr/bin/python3
"""Statistics of one test of a data folder, computed independently with xlrd.

usage: calc_reference.py DATA_FOLDER GRADE TEST KIND

DATA_FOLDER is <drive>/Dorv/Data, KIND 0 (regular) or 1 (proficiency).
Prints one "key value..." line per figure for the statistics test to compare.
"""

import math
import os
import re
import sys

import xlrd

GRADE_FOLDERS = ["", "１年生", "２年生", "３年生"]
FIVE = range(5)
THREE = (0, 2, 4)


def cells(path):
    """Every non-empty cell of every sheet, later sheets overwriting earlier ones."""
    book = xlrd.open_workbook(path)
    out = {}
    for sheet in book.sheets():
        for r in range(sheet.nrows):
            for c in range(sheet.ncols):
                cell = sheet.cell(r, c)
                if cell.ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
                    continue
                out[(r, c)] = cell.value
    return out


def score_byte(value):
    """A score cell as the loaders store it: the leading whole number, low 8 bits."""
    if isinstance(value, float):
        return int(value) & 0xFF
    text = str(value)
    if text == "":
        return 255
    m = re.match(r"\s*([+-]?)(\d*)", text)
    n = int(m.group(2)) if m.group(2) else 0
    if m.group(1) == "-":
        n = -n
    return n & 0xFF


def main():
    data, grade, test, kind = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
    kihon = os.path.join(data, "Kihon")
    classes = int(cells(os.path.join(kihon, "KurasuSu.xls"))[(grade, 1)])
    names_book = "TeikiTestName.xls" if kind == 0 else "JitsuTestName.xls"
    test_names = xlrd.open_workbook(os.path.join(kihon, names_book)).sheet_by_name("%dnen" % grade)
    test_name = test_names.cell_value(test - 1, 0)
    folder = os.path.join(data, GRADE_FOLDERS[grade])
    roster = cells(os.path.join(folder, "名簿.xls"))
    score_cells = cells(os.path.join(folder, test_name + ".xls"))
    columns = 11 if kind == 0 else 5

    students = []  # (slot, group, scores[0..8] or None)
    for slot in range(1, classes * 42 + 1):
        name = roster.get((slot, 1), "")
        if isinstance(name, float):
            name = "%g" % name
        if name == "":
            continue
        group = 0 if roster.get((slot, 2), "") == "男" else 1
        scores = []
        for j in range(9):
            value = score_cells.get((slot, j + 1)) if j < columns else None
            scores.append(255 if value is None else score_byte(value))
        students.append((slot, group, scores))

    print("classes", classes)
    for j in range(9):
        xs = [s[2][j] for s in students if s[2][j] <= 100]
        print("count", j, len(xs))
        print("sum", j, sum(xs))
        bands = [0] * 10
        for x in xs:
            bands[min(x // 10, 9)] += 1
        print("bands", j, *bands)
        if j < 5:
            n = len(xs)
            mean = sum(xs) / n if n else 0.0
            sd = math.sqrt(sum(x * x for x in xs) / n - mean * mean) if n else 0.0
            print("mean", j, "%.9f" % mean)
            print("sd", j, "%.9f" % sd)

    totals = {}
    total3 = {}
    for slot, group, scores in students:
        if all(scores[j] <= 100 for j in FIVE):
            totals[slot] = (sum(scores[j] for j in FIVE), group)
            total3[slot] = sum(scores[j] for j in THREE)
    print("cnt5", len(totals))
    print("sum5", sum(t for t, _ in totals.values()))
    print("cnt3", len(total3))
    print("sum3", sum(total3.values()))
    for slot, group, _ in students:
        if slot not in totals:
            print("rank", slot, 0, 0)
            continue
        mine = totals[slot][0]
        rank = 1 + sum(1 for t, _ in totals.values() if t > mine)
        rank_sex = 1 + sum(1 for t, g in totals.values() if t > mine and g == group)
        print("rank", slot, rank, rank_sex)


if __name__ == "__main__":
    main()
