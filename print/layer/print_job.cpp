#include "print/layer/print_job.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <algorithm>
#include <stdexcept>

#include "desktop/services.h"
#include "print/layer/print_system.h"
#include "print/layer/qt_canvas.h"

namespace dorv::print {
namespace {

constexpr double kPointsPerMm = 72 / 25.4;

QPageLayout::Orientation QtOrientation(TOrientation orientation) {
    return orientation == TOrientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

std::string Utf8(const QString &text) { return text.toStdString(); }

// A4 in `orientation` with 5 mm margins, widened to what `printer` can
// reach. The size, the orientation and the margins are asked for one by
// one: a printer refuses a layout as a whole when one margin is below its
// minimum, and the page would silently keep its old orientation.
QPageLayout PrinterLayout(const QString &printer, TOrientation orientation) {
    const QPageLayout::Orientation asked = QtOrientation(orientation);
    const QPageSize a4(QPageSize::A4);
    const double margin = TPrintJob::kMarginMm * kPointsPerMm;
    const QPrinterInfo info = QPrinterInfo::printerInfo(printer);
    // A printer the toolkit does not know tells no minimum.
    if (info.isNull()) return QPageLayout(a4, asked, QMarginsF(margin, margin, margin, margin), QPageLayout::Point);

    // The toolkit takes any paper size for any printer; the printer's list
    // says what it really has.
    const QList<QPageSize> sizes = info.supportedPageSizes();
    const bool hasA4 =
        sizes.isEmpty() || info.supportsCustomPageSizes() ||
        std::any_of(sizes.begin(), sizes.end(), [&](const QPageSize &s) { return s.isEquivalentTo(a4); });
    QPrinter probe(info, QPrinter::HighResolution);
    const bool sized = probe.setPageSize(a4);
    probe.setPageOrientation(asked);
    QPageLayout layout = probe.pageLayout();
    if (!hasA4 || !sized || !layout.pageSize().isEquivalentTo(a4) || layout.orientation() != asked)
        throw std::runtime_error("プリンタ " + Utf8(printer) + " は A4 " +
                                 (orientation == TOrientation::Landscape ? "横" : "縦") +
                                 " の用紙に印刷できません。印刷は行われていません");
    layout.setUnits(QPageLayout::Point);
    const QMarginsF least = layout.minimumMargins();
    const QMarginsF margins(std::max(margin, least.left()), std::max(margin, least.top()),
                            std::max(margin, least.right()), std::max(margin, least.bottom()));
    return QPageLayout(a4, asked, margins, QPageLayout::Point);
}

}  // namespace

QString PdfPathForSheet(const QString &sheetName) {
    QString base = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (base.isEmpty()) base = QDir::homePath();
    const QString folder = QDir(base).filePath(QStringLiteral("Dorv"));
    QDir().mkpath(folder);
    // A sheet name never carries a folder into the path.
    QString name = sheetName;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    const QString stem =
        name + QLatin1Char('_') + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = QDir(folder).filePath(stem + QStringLiteral(".pdf"));
    // Two prints within one second keep both files.
    for (int n = 2; QFileInfo::exists(path); ++n) path = QDir(folder).filePath(stem + QStringLiteral("-%1.pdf").arg(n));
    return path;
}

TPrintJob::TPrintJob(const QString &sheetName, TOrientation orientation) : sheetName_(sheetName) {
    printerName_ = PrintSystem().DefaultPrinter();
    QPageLayout layout;
    std::string cannotStart;
    if (printerName_.isEmpty()) {
        const double margin = kMarginMm;
        layout = QPageLayout(QPageSize(QPageSize::A4), QtOrientation(orientation),
                             QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter);
        pdfPath_ = PdfPathForSheet(sheetName);
        cannotStart = "印刷を開始できません。ファイル " + Utf8(pdfPath_) + " を作成できません";
    } else {
        layout = PrinterLayout(printerName_, orientation);
        spool_ = std::make_unique<QTemporaryFile>(QDir(QDir::tempPath()).filePath(QStringLiteral("dorv-XXXXXX.pdf")));
        const bool spooled = spool_->open();
        spool_->close();
        cannotStart = "印刷を開始できません。プリンタ " + Utf8(printerName_) + " に送る一時ファイル" +
                      (spooled ? " " + Utf8(spool_->fileName()) : std::string()) + " を作成できません";
    }
    // The document is always a PDF: the file the user gets, or the one
    // handed to the printer.
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(spool_ != nullptr ? spool_->fileName() : pdfPath_);
    printer_->setDocName(sheetName);
    printer_->setResolution(kResolution);
    printer_->setFullPage(false);
    if (!printer_->setPageLayout(layout)) throw std::runtime_error(cannotStart);
    canvas_ = std::make_unique<TQtCanvas>(*printer_, cannotStart);
}

TPrintJob::~TPrintJob() { Finish(false); }

TCanvas &TPrintJob::Canvas() { return *canvas_; }

void TPrintJob::End() { Finish(true); }

void TPrintJob::Finish(bool submit) {
    if (ended_) return;
    ended_ = true;
    const bool written = canvas_->Finish();
    if (!submit || spool_ == nullptr || !written) return;
    const TSubmission answer = PrintSystem().Submit(printerName_, spool_->fileName(), sheetName_);
    const std::string printer = "プリンタ " + Utf8(printerName_);
    switch (answer.outcome) {
    case TSubmission::Printing: return;
    case TSubmission::Waiting: waiting_ = true; return;
    case TSubmission::NotFound: throw std::runtime_error(printer + " が見つかりません。印刷は行われていません");
    case TSubmission::Rejecting:
        throw std::runtime_error(printer + " は印刷を受け付けない状態です。印刷は行われていません");
    case TSubmission::Refused: break;
    }
    QString shown = answer.reason.trimmed();
    if (shown.endsWith(QLatin1Char('.'))) shown.chop(1);
    throw std::runtime_error(printer + " が印刷を受け付けませんでした（" + Utf8(shown) + "）。印刷は行われていません");
}

int TPrintJob::PageCount() const { return canvas_->PageCount(); }

void TellWhereThePrintWent(QWidget *parent, const TPrintJob &job) {
    if (job.Waiting()) {
        Services().showMessage(
            parent, QStringLiteral("プリンタ %1 は停止しています。印刷はキューで待っています").arg(job.PrinterName()));
        return;
    }
    if (job.PdfPath().isEmpty() || job.PageCount() == 0) return;
    Services().showMessage(parent, QStringLiteral("プリンタが見つからないため、ファイル %1 に保存しました")
                                       .arg(QDir::toNativeSeparators(job.PdfPath())));
}

}  // namespace dorv::print
