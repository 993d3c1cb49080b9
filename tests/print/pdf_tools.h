// Looking into written PDF files with poppler's command-line tools, for the
// print tests.
#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

namespace dorv::testing {

// Standard output of a program; empty when it could not run or failed.
QString RunTool(const QString &program, const QStringList &arguments);

QString PdfInfo(const QString &pdf);                // pdfinfo
QString PdfText(const QString &pdf, int page = 0);  // pdftotext -layout, one page or all
QString PdfFonts(const QString &pdf);               // pdffonts
QString PdfBboxes(const QString &pdf);              // pdftotext -bbox (XHTML)
// One page rendered at `dpi` (pdftoppm); a null image on failure.
QImage PdfPage(const QString &pdf, int page, int dpi, const QString &pngStem);

// True when pdffonts lists at least one font and every one is embedded.
bool AllFontsEmbedded(const QString &pdffonts);

// The "Pages:" of pdfinfo, -1 when missing.
int PdfPageCount(const QString &pdf);

// A word of the bbox listing, its box in points from the page's top-left
// corner.
struct PdfWord {
    QString text;
    double xMin, yMin, xMax, yMax;
};
QList<PdfWord> PdfWords(const QString &bboxes);

// How two PDFs differ as a reader sees them, "" when they do not: the page
// count, the words of each page with their boxes (to a hundred-thousandth
// of a point, in any order) and every pixel of each page rendered at `dpi`.
// `pngStem` names the rendered pages' files.
QString PdfDifference(const QString &a, const QString &b, int dpi, const QString &pngStem);

// The bounding box of the first word of the bbox listing equal to `word`, in
// points from the page's top-left corner; false when not found.
bool WordBox(const QString &bboxes, const QString &word, double &xMin, double &yMin, double &xMax, double &yMax);

}  // namespace dorv::testing
