// One print job of a sheet: the system's default printer when there is one,
// otherwise a PDF file in the user's documents folder under "Dorv", named
// after the sheet and the time. A4 at 600 dpi with margins of 5 mm, or the
// printer's own where it cannot print that close to the edge, in the
// orientation the sheet asks for; never a dialog or a preview. Nothing
// reaches the printer (and no file is written) until something is drawn.
//
// A job for a printer is drawn into a PDF of its own and handed to the
// printing system when it ends, so that a job the system refuses is told
// and never looks printed, and one it holds for a stopped printer is told
// as waiting.
#pragma once

#include <QString>

#include <memory>

#include "print/layer/canvas.h"

class QPrinter;
class QTemporaryFile;
class QWidget;

namespace dorv::print {

class TQtCanvas;

enum class TOrientation { Portrait, Landscape };

class TPrintJob {
public:
    static constexpr int kResolution = 600;
    static constexpr double kMarginMm = 5.0;

    // `sheetName` names the PDF file ("<sheetName>_<yyyyMMdd-hhmmss>.pdf")
    // and the printer's job. Raises std::runtime_error, before anything is
    // printed, when the default printer cannot take A4 paper in
    // `orientation`.
    TPrintJob(const QString &sheetName, TOrientation orientation);
    // Ends a job that End() did not end without handing it to the printer:
    // a half-drawn document is never printed.
    ~TPrintJob();
    TPrintJob(const TPrintJob &) = delete;
    TPrintJob &operator=(const TPrintJob &) = delete;

    // The canvas of the printable area: (0, 0) is its top-left corner.
    TCanvas &Canvas();

    // Ends the document and hands it to the printer; later calls do
    // nothing. Raises std::runtime_error, naming the printer, when the
    // printing system refuses the job or no longer knows the printer.
    void End();
    // The printing system took the job at End() but holds it: the printer
    // is stopped.
    bool Waiting() const { return waiting_; }

    // The PDF written (or to be written) when there is no default printer;
    // empty when the job goes to a printer.
    QString PdfPath() const { return pdfPath_; }
    // The printer the job goes to; empty when it becomes a PDF.
    QString PrinterName() const { return printerName_; }
    // Pages started so far.
    int PageCount() const;

private:
    void Finish(bool submit);

    QString sheetName_;
    QString printerName_;
    QString pdfPath_;
    std::unique_ptr<QTemporaryFile> spool_;  // the document for the printer
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<TQtCanvas> canvas_;
    bool ended_ = false;
    bool waiting_ = false;
};

// The PDF file a sheet would be written to at this moment (a free name in
// the documents folder's "Dorv"; the folder is created).
QString PdfPathForSheet(const QString &sheetName);

// After a print action, in one message box: where the document went when it
// became a PDF, or that it waits in the queue of a stopped printer. Nothing
// for a job a working printer took or that printed no page.
void TellWhereThePrintWent(QWidget *parent, const TPrintJob &job);

}  // namespace dorv::print
