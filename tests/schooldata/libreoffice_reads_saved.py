"""LibreOffice reads a workbook that the service saved as it read the
original, but for the cells the save wrote.

  libreoffice_reads_saved.py XLS_SET SOFFICE WORKBOOK...

Each workbook is copied, converted to CSV (every sheet) by LibreOffice,
written through xls-set (one number, one new Japanese text), converted
again; the two conversions must differ in exactly those two cells."""
import csv
import glob
import os
import shutil
import subprocess
import sys
import tempfile

EDITS = [("Data", 1, 1, "B2", "85"), ("Sheet2", 4, 2, "C5", "新しい記録")]


def sheets_as_libreoffice_reads(soffice, book, outdir, profile):
    os.makedirs(outdir)
    subprocess.run([soffice, "--headless", "-env:UserInstallation=file://" + profile,
                    "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1",
                    "--outdir", outdir, book], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=300)
    base = os.path.splitext(os.path.basename(book))[0]
    cells = {}
    files = glob.glob(os.path.join(outdir, base + "-*.csv"))
    if not files:
        raise RuntimeError("LibreOffice wrote no CSV for " + book)
    for f in files:
        sheet = os.path.basename(f)[len(base) + 1:-4]
        with open(f, encoding="utf-8", newline="") as fh:
            for r, row in enumerate(csv.reader(fh)):
                for c, v in enumerate(row):
                    if v != "":
                        cells[(sheet, r, c)] = v
    return cells


def check(xls_set, soffice, workbook, tmp):
    profile = os.path.join(tmp, "profile")
    book = os.path.join(tmp, "book.xls")
    shutil.copy(workbook, book)
    before = sheets_as_libreoffice_reads(soffice, book, os.path.join(tmp, "before"), profile)
    subprocess.run([xls_set, book] + ["%s!%s=%s" % (s, a, v) for s, _, _, a, v in EDITS], check=True, timeout=120)
    after = sheets_as_libreoffice_reads(soffice, book, os.path.join(tmp, "after"), profile)
    want = dict(before)
    for s, r, c, _, v in EDITS:
        want[(s, r, c)] = v
    wrong = sorted(k for k in set(want) | set(after) if want.get(k) != after.get(k))
    for k in wrong[:12]:
        print("  %s: LibreOffice reads %r, want %r" % (k, after.get(k), want.get(k)))
    return len(before), len(wrong)


def main(xls_set, soffice, workbooks):
    failed = 0
    for w in workbooks:
        with tempfile.TemporaryDirectory() as tmp:
            cells, wrong = check(xls_set, soffice, w, tmp)
        print("%s: %d cells, %d read differently" % (os.path.basename(w), cells, wrong))
        failed += wrong != 0
    print("%d passed, %d failed" % (len(workbooks) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2], sys.argv[3:]))
