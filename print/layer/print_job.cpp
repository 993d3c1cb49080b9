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

#include "print/layer/qt_canvas.h"

namespace dorv::print {

QString PdfPathForSheet(const QString &sheetName) {
    QString base = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (base.isEmpty()) base = QDir::homePath();
    const QString folder = QDir(base).filePath(QStringLiteral("Dorv"));
    QDir().mkpath(folder);
    // A sheet name never carries a folder into the path.
    QString name = sheetName;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    const QString stem = name + QLatin1Char('_') +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = QDir(folder).filePath(stem + QStringLiteral(".pdf"));
    // Two prints within one second keep both files.
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(folder).filePath(stem + QStringLiteral("-%1.pdf").arg(n));
    return path;
}

TPrintJob::TPrintJob(const QString &sheetName, TOrientation orientation) {
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull()) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        pdfPath_ = PdfPathForSheet(sheetName);
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(pdfPath_);
    } else {
        printer_ = std::make_unique<QPrinter>(defaultPrinter, QPrinter::HighResolution);
    }
    printer_->setDocName(sheetName);
    printer_->setResolution(kResolution);
    printer_->setFullPage(false);
    const QPageLayout layout(QPageSize(QPageSize::A4),
                             orientation == TOrientation::Landscape ? QPageLayout::Landscape
                                                                    : QPageLayout::Portrait,
                             QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
    printer_->setPageLayout(layout);
    canvas_ = std::make_unique<TQtCanvas>(*printer_);
}

TPrintJob::~TPrintJob() { End(); }

TCanvas &TPrintJob::Canvas() { return *canvas_; }

void TPrintJob::End() {
    if (ended_) return;
    ended_ = true;
    canvas_->Finish();
}

int TPrintJob::PageCount() const { return canvas_->PageCount(); }

}  // namespace dorv::print
