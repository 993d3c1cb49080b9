#include "pdf_tools.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

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
