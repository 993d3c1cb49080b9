#!/usr/bin/python3
"""Writes the reader benchmark's workbooks with python3-xlwt.

Usage: make_bench_workbooks.py OUTDIR
  grade.xls  a full grade: a heading row and 420 student rows of 12 columns
             (number, Japanese name, sex, nine subject scores)
  large.xls  several MB: 40000 rows of numbers, decimals and texts on two sheets
"""
import os
import sys

import xlwt

SURNAMES = ["山田", "佐藤", "鈴木", "髙橋", "田中", "渡辺", "伊藤", "中村", "小林", "加藤"]
GIVEN = ["太郎", "花子", "一郎", "美咲", "健太", "陽菜", "翔", "結衣", "大輝", "さくら"]
SUBJECTS = ["国語", "社会", "数学", "理科", "英語", "音楽", "美術", "保体", "技家"]


def grade(path):
    wb = xlwt.Workbook(encoding="utf-8")
    ws = wb.add_sheet("Data")
    for c, h in enumerate(["番号", "氏名", "性別"] + SUBJECTS):
        ws.write(0, c, h)
    for slot in range(1, 421):
        cls, no = (slot - 1) // 42 + 1, (slot - 1) % 42 + 1
        ws.write(slot, 0, cls * 100 + no)
        ws.write(slot, 1, SURNAMES[slot % 10] + "　" + GIVEN[(slot * 7) % 10])
        ws.write(slot, 2, "男" if slot % 2 else "女")
        for s in range(9):
            ws.write(slot, 3 + s, (slot * 37 + s * 11) % 101)
    wb.save(path)


def large(path):
    wb = xlwt.Workbook(encoding="utf-8")
    for sheet in range(2):
        ws = wb.add_sheet("大きな表%d" % (sheet + 1))
        for r in range(20000):
            ws.write(r, 0, r)
            ws.write(r, 1, "行%05d %s" % (r, SURNAMES[r % 10]))
            for c in range(2, 8):
                ws.write(r, c, (r * c) % 1000)
            for c in range(8, 12):
                ws.write(r, c, r / (c + 0.5))
            ws.write(r, 12, "text-%d" % (r % 5000))
    wb.save(path)


if __name__ == "__main__":
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    grade(os.path.join(out, "grade.xls"))
    large(os.path.join(out, "large.xls"))
