#!/usr/bin/python3
"""Writes the LibreOffice benchmark workbooks: flat ODS files with thousands of
rich texts (bold, italic, coloured and underlined parts inside one cell, as
text:span elements with automatic text styles), converted to Excel 97 by
LibreOffice. The .xls files are committed in bench/workbooks/, so that
`make bench` needs no LibreOffice; run this again only to change them.

Usage: make_lo_workbooks.py OUTDIR   (needs soffice on the PATH)
  lo-comments.xls  one sheet of 420 students' comments, rich texts only
  lo-sheets.xls    three sheets of rich texts, Japanese and Latin
  lo-mixed.xls     rich and plain texts beside numbers and decimals, two sheets
"""
import os
import random
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "fixtures"))
from fods import Fods  # noqa: E402

SURNAMES = ["山田", "佐藤", "鈴木", "髙橋", "田中", "渡辺", "伊藤", "中村", "小林", "加藤"]
GIVEN = ["太郎", "花子", "一郎", "美咲", "健太", "陽菜", "翔", "結衣", "大輝", "さくら"]
SUBJECTS = ["国語", "社会", "数学", "理科", "英語", "音楽", "美術", "保体", "技家"]
PHRASES = ["よくできました", "計算に注意", "漢字の書き取り", "提出物", "授業態度",
           "発表が積極的", "復習を続けよう", "図形の問題", "英単語", "実験の記録"]
LATIN = ["good", "check", "homework", "test", "review", "note", "score", "late"]

# Automatic text styles: name -> text-properties attributes. The Asian and
# complex-script variants make the parts formatted in Japanese text too.
STYLES = {
    "T1": 'fo:font-weight="bold" style:font-weight-asian="bold"',
    "T2": 'fo:font-style="italic" style:font-style-asian="italic"',
    "T3": 'fo:color="#c9211e"',
    "T4": 'style:text-underline-style="solid" style:text-underline-width="auto" '
          'style:text-underline-color="font-color"',
    "T5": 'fo:font-weight="bold" style:font-weight-asian="bold" fo:color="#2a6099"',
    "T6": 'fo:font-size="14pt" style:font-size-asian="14pt"',
}

class BenchFods(Fods):
    def __init__(self, seed):
        super().__init__(STYLES)
        self.rnd = random.Random(seed)

    def rich(self, serial, latin=False):
        """A unique rich text of one to five formatted parts between plain ones."""
        rnd = self.rnd
        words = LATIN if latin else PHRASES
        pieces = [(None, "%s%s %d: " % (SURNAMES[serial % 10], GIVEN[serial // 10 % 10], serial))]
        for _ in range(rnd.randint(1, 5)):
            pieces.append((rnd.choice(list(STYLES)), rnd.choice(words)))
            pieces.append((None, rnd.choice(["、", " ", "。", " / "])))
        return pieces


def comments(f):
    rows = [["番号", "氏名"] + SUBJECTS]
    for slot in range(1, 421):
        cls, no = (slot - 1) // 42 + 1, (slot - 1) % 42 + 1
        name = SURNAMES[slot % 10] + "　" + GIVEN[(slot * 7) % 10]
        rows.append([cls * 100 + no, name] + [f.rich(slot * 10 + s) for s in range(9)])
    f.sheet("所見", rows)


def sheets(f):
    serial = 0
    for n in range(3):
        rows = []
        for r in range(700):
            row = []
            for c in range(4):
                row.append(f.rich(serial, latin=(c == 3)))
                serial += 1
            rows.append(row)
        f.sheet("記録%d" % (n + 1), rows)


def mixed(f):
    serial = 0
    for n in range(2):
        rows = []
        for r in range(1400):
            serial += 1
            row = [r, f.rich(serial), "連絡%05d %s" % (serial, PHRASES[r % 10])]
            row += [(r * c) % 101 for c in range(1, 5)]
            row += [round(r / (c + 0.5), 3) for c in range(2)]
            row.append(f.rich(serial + 100000, latin=True) if r % 2 else "plain-%d" % serial)
            rows.append(row)
        f.sheet("混在%d" % (n + 1), rows)


def convert(fods_dir, name, out_dir, profile):
    subprocess.run(["soffice", "--headless", "-env:UserInstallation=file://" + profile,
                    "--convert-to", "xls:MS Excel 97", "--outdir", out_dir,
                    os.path.join(fods_dir, name + ".fods")],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def main():
    out = os.path.abspath(sys.argv[1])
    os.makedirs(out, exist_ok=True)
    tmp = tempfile.mkdtemp()
    try:
        for seed, (name, build) in enumerate([("lo-comments", comments), ("lo-sheets", sheets),
                                              ("lo-mixed", mixed)]):
            f = BenchFods(seed)
            build(f)
            with open(os.path.join(tmp, name + ".fods"), "w", encoding="utf-8") as fh:
                fh.write(f.text())
            convert(tmp, name, out, os.path.join(tmp, "profile"))
            print("%s.xls %d bytes" % (name, os.path.getsize(os.path.join(out, name + ".xls"))))
    finally:
        shutil.rmtree(tmp)


if __name__ == "__main__":
    main()
