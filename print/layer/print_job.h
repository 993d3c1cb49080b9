// One print job of a sheet: the system's default printer when there is one,
// otherwise a PDF file in the user's documents folder under "Dorv", named
// after the sheet and the time. A4 at 600 dpi with small margins, in the
// orientation the sheet asks for; never a dialog or a preview. Nothing
// reaches the printer (and no file is written) until something is drawn.
#pragma once

#include <QString>

#include <memory>

#include "print/layer/canvas.h"

class QPrinter;

namespace dorv::print {

class TQtCanvas;

enum class TOrientation { Portrait, Landscape };

class TPrintJob {
public:
    static constexpr int kResolution = 600;
    static constexpr double kMarginMm = 5.0;

    // `sheetName` names the PDF file ("<sheetName>_<yyyyMMdd-hhmmss>.pdf").
    TPrintJob(const QString &sheetName, TOrientation orientation);
    ~TPrintJob();  // ends the job when End() was not called
    TPrintJob(const TPrintJob &) = delete;
    TPrintJob &operator=(const TPrintJob &) = delete;

    // The canvas of the printable area: (0, 0) is its top-left corner.
    TCanvas &Canvas();

    // Ends the document; later calls do nothing.
    void End();

    // The PDF written (or to be written) when there is no default printer;
    // empty when the job goes to a printer.
    QString PdfPath() const { return pdfPath_; }
    // Pages started so far.
    int PageCount() const;

private:
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<TQtCanvas> canvas_;
    QString pdfPath_;
    bool ended_ = false;
};

// The PDF file a sheet would be written to at this moment (a free name in
// the documents folder's "Dorv"; the folder is created).
QString PdfPathForSheet(const QString &sheetName);

}  // namespace dorv::print
