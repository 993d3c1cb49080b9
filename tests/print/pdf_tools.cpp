#include "pdf_tools.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace dorv::testing {

QString RunTool(const QString &program, const QStringList &arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString PdfInfo(const QString &pdf) { return RunTool("pdfinfo", {pdf}); }

QString PdfText(const QString &pdf, int page) {
    QStringList args{"-layout", "-enc", "UTF-8"};
    if (page > 0) args << "-f" << QString::number(page) << "-l" << QString::number(page);
    return RunTool("pdftotext", args << pdf << "-");
}

QString PdfFonts(const QString &pdf) { return RunTool("pdffonts", {pdf}); }

QString PdfBboxes(const QString &pdf) { return RunTool("pdftotext", {"-bbox", "-enc", "UTF-8", pdf, "-"}); }

QImage PdfPage(const QString &pdf, int page, int dpi, const QString &pngStem) {
    const QString p = QString::number(page);
    RunTool("pdftoppm", {"-png", "-singlefile", "-r", QString::number(dpi), "-f", p, "-l", p, pdf, pngStem});
    return QImage(pngStem + ".png");
}

int PdfPageCount(const QString &pdf) {
    const auto m = QRegularExpression(R"(Pages:\s+(\d+))").match(PdfInfo(pdf));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

bool AllFontsEmbedded(const QString &pdffonts) {
    // Columns emb, sub, uni, object number, generation.
    static const QRegularExpression row(R"(\s(yes|no)\s+(yes|no)\s+(yes|no)\s+\d+\s+\d+\s*$)");
    int fonts = 0;
    for (const QString &line : pdffonts.split('\n')) {
        const auto m = row.match(line);
        if (!m.hasMatch()) continue;
        ++fonts;
        if (m.captured(1) != "yes") return false;
    }
    return fonts > 0;
}

QList<PdfWord> PdfWords(const QString &bboxes) {
    static const QRegularExpression re(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    QList<PdfWord> words;
    for (auto it = re.globalMatch(bboxes); it.hasNext();) {
        const auto m = it.next();
        words.append({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                      m.captured(4).toDouble()});
    }
    return words;
}

namespace {

// The words of each page, sorted.
QList<QList<PdfWord>> WordsByPage(const QString &bboxes) {
    QList<QList<PdfWord>> pages;
    const QStringList chunks = bboxes.split("<page ");
    for (qsizetype i = 1; i < chunks.size(); ++i) {
        QList<PdfWord> words = PdfWords(chunks[i]);
        std::sort(words.begin(), words.end(), [](const PdfWord &x, const PdfWord &y) {
            return std::tie(x.text, x.yMin, x.xMin) < std::tie(y.text, y.yMin, y.xMin);
        });
        pages.append(words);
    }
    return pages;
}

QString Describe(const PdfWord &w) {
    return QString("%1 (%2, %3)-(%4, %5)")
        .arg(w.text)
        .arg(w.xMin, 0, 'f', 6)
        .arg(w.yMin, 0, 'f', 6)
        .arg(w.xMax, 0, 'f', 6)
        .arg(w.yMax, 0, 'f', 6);
}

}  // namespace

QString PdfDifference(const QString &a, const QString &b, int dpi, const QString &pngStem) {
    const int pages = PdfPageCount(a);
    if (pages < 1 || pages != PdfPageCount(b)) return QString("%1 pages beside %2").arg(pages).arg(PdfPageCount(b));
    const auto wordsA = WordsByPage(PdfBboxes(a));
    const auto wordsB = WordsByPage(PdfBboxes(b));
    for (int p = 0; p < pages; ++p) {
        const QList<PdfWord> &x = wordsA.value(p), &y = wordsB.value(p);
        if (x.size() != y.size()) return QString("page %1: %2 words beside %3").arg(p + 1).arg(x.size()).arg(y.size());
        for (qsizetype i = 0; i < x.size(); ++i) {
            constexpr double kPoint = 1e-5;
            const PdfWord &u = x[i], &v = y[i];
            if (u.text != v.text || std::abs(u.xMin - v.xMin) > kPoint || std::abs(u.yMin - v.yMin) > kPoint ||
                std::abs(u.xMax - v.xMax) > kPoint || std::abs(u.yMax - v.yMax) > kPoint)
                return QString("page %1: %2 beside %3").arg(p + 1).arg(Describe(u), Describe(v));
        }
        const QImage imageA = PdfPage(a, p + 1, dpi, pngStem + "-a");
        const QImage imageB = PdfPage(b, p + 1, dpi, pngStem + "-b");
        if (imageA.isNull() || imageA.size() != imageB.size()) return QString("page %1 not rendered").arg(p + 1);
        int differ = 0;
        for (int row = 0; row < imageA.height(); ++row)
            for (int col = 0; col < imageA.width(); ++col) differ += imageA.pixel(col, row) != imageB.pixel(col, row);
        if (differ > 0) return QString("page %1: %2 pixels differ").arg(p + 1).arg(differ);
    }
    return {};
}

bool WordBox(const QString &bboxes, const QString &word, double &xMin, double &yMin, double &xMax, double &yMax) {
    for (const PdfWord &w : PdfWords(bboxes)) {
        if (w.text != word) continue;
        xMin = w.xMin;
        yMin = w.yMin;
        xMax = w.xMax;
        yMax = w.yMax;
        return true;
    }
    return false;
}

}  // namespace dorv::testing
