"""Writes conversion-libreoffice.xls, a conversion workbook as a school
prepares it by hand, with LibreOffice Calc (installed by hand, only for this
script): run  python3 make_conversion_workbook.py  in this folder.

The workbook holds a cover sheet before and a notes sheet after the nine
subject sheets, the subject sheets out of their usual order, headings in
row 1, last year's export in rows 2..46 (classes 1 and 2, 23 and 22
students) and a remark beside the export's columns."""
import os
import shutil
import subprocess
import sys
import tempfile
from xml.sax.saxutils import escape

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = "conversion-libreoffice.xls"

SUBJECTS = ["Kokugo", "Shakai", "Sugaku", "Rika", "Eigo", "Ongaku", "Bijutsu", "Hotai", "Gika"]
# The order of the sheets in the workbook.
ORDER = ["Gika", "Eigo", "Kokugo", "Shakai", "Sugaku", "Rika", "Ongaku", "Bijutsu", "Hotai"]


def text(s):
    return '<table:table-cell office:value-type="string"><text:p>%s</text:p></table:table-cell>' % escape(s)


def number(n):
    return ('<table:table-cell office:value-type="float" office:value="%d"><text:p>%d</text:p>'
            "</table:table-cell>" % (n, n))


def empty():
    return "<table:table-cell/>"


def row(cells):
    return "<table:table-row>%s</table:table-row>" % "".join(cells)


def subject_sheet(name):
    viewpoints = 5 if name == "Kokugo" else 4
    rows = [row([text("番号")] + [text("観点%d" % i) for i in range(1, viewpoints + 1)] + [text("評定")])]
    last_year = [(1, n) for n in range(1, 24)] + [(2, n) for n in range(1, 23)]
    for k, (c, n) in enumerate(last_year):
        cells = [number(c * 100 + n)]
        cells += [text("ABC"[(k + i) % 3]) for i in range(viewpoints)]
        cells.append(number(1 + k % 5))
        if k == 1:
            cells.append(text("前年度の備考"))
        rows.append(row(cells))
    return '<table:table table:name="%s">%s</table:table>' % (name, "".join(rows))


def document():
    cover = '<table:table table:name="表紙">%s%s</table:table>' % (
        row([text("C4th取り込み用")]), row([empty(), number(2026)]))
    notes = '<table:table table:name="Memo">%s</table:table>' % row([text("Kokugo"), number(5)])
    body = cover + "".join(subject_sheet(s) for s in ORDER) + notes
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
            'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
            'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" office:version="1.2" '
            'office:mimetype="application/vnd.oasis.opendocument.spreadsheet">'
            "<office:body><office:spreadsheet>%s</office:spreadsheet></office:body></office:document>\n" % body)


def main():
    tmp = tempfile.mkdtemp()
    try:
        source = os.path.join(tmp, "conversion-libreoffice.fods")
        with open(source, "w", encoding="utf-8") as f:
            f.write(document())
        subprocess.run(["soffice", "--headless", "-env:UserInstallation=file://%s/profile" % tmp,
                        "--convert-to", "xls:MS Excel 97", "--outdir", tmp, source],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shutil.move(os.path.join(tmp, "conversion-libreoffice.xls"), os.path.join(HERE, OUT))
    finally:
        shutil.rmtree(tmp)
    return 0


if __name__ == "__main__":
    sys.exit(main())
