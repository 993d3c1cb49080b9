#include "print/layer/print_system.h"

#include <QPrinterInfo>

#include <cups/cups.h>

namespace dorv::print {
namespace {

TPrintSystem *installed = nullptr;

}  // namespace

QString TPrintSystem::DefaultPrinter() { return QPrinterInfo::defaultPrinterName(); }

QString TPrintSystem::Submit(const QString &printer, const QString &pdf, const QString &title) {
    cups_option_t *options = nullptr;
    int count = cupsAddOption("media", "A4", 0, &options);
    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, printer.toLocal8Bit().constData(), pdf.toLocal8Bit().constData(),
                                   title.toUtf8().constData(), count, options);
    cupsFreeOptions(count, options);
    if (job > 0) return {};
    const char *reason = cupsLastErrorString();
    return reason != nullptr && *reason != '\0' ? QString::fromUtf8(reason) : QStringLiteral("理由不明");
}

TPrintSystem &PrintSystem() {
    static TPrintSystem machine;
    return installed != nullptr ? *installed : machine;
}

void SetPrintSystem(TPrintSystem *system) { installed = system; }

}  // namespace dorv::print
