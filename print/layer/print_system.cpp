#include "print/layer/print_system.h"

#include <QPrinterInfo>

#include <cups/cups.h>

#include <cstdlib>
#include <cstring>

namespace dorv::print {
namespace {

TPrintSystem *installed = nullptr;

enum class TQueue { Unknown, Missing, Stopped, Rejecting, Ready };

// The queue's state as the scheduler tells it now; Unknown when it cannot
// be asked.
TQueue QueueOf(const QByteArray &printer) {
    cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, printer.constData(), nullptr);
    if (dest == nullptr) return cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND ? TQueue::Missing : TQueue::Unknown;
    const char *state = cupsGetOption("printer-state", dest->num_options, dest->options);
    const char *accepting = cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    TQueue queue = TQueue::Ready;
    if (accepting != nullptr && std::strcmp(accepting, "false") == 0) queue = TQueue::Rejecting;
    else if (state != nullptr && std::atoi(state) == IPP_PSTATE_STOPPED) queue = TQueue::Stopped;
    cupsFreeDests(1, dest);
    return queue;
}

}  // namespace

QString TPrintSystem::DefaultPrinter() { return QPrinterInfo::defaultPrinterName(); }

TSubmission TPrintSystem::Submit(const QString &printer, const QString &pdf, const QString &title) {
    const QByteArray name = printer.toLocal8Bit();
    cups_option_t *options = nullptr;
    int count = cupsAddOption("media", "A4", 0, &options);
    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, name.constData(), pdf.toLocal8Bit().constData(),
                                   title.toUtf8().constData(), count, options);
    cupsFreeOptions(count, options);
    if (job > 0) return {QueueOf(name) == TQueue::Stopped ? TSubmission::Waiting : TSubmission::Printing, {}};
    // The scheduler's words go only where its state says nothing we know.
    const char *said = cupsLastErrorString();
    const QString reason = said != nullptr && *said != '\0' ? QString::fromUtf8(said) : QStringLiteral("理由不明");
    switch (QueueOf(name)) {
    case TQueue::Missing: return {TSubmission::NotFound, {}};
    case TQueue::Rejecting: return {TSubmission::Rejecting, {}};
    default: return {TSubmission::Refused, reason};
    }
}

TPrintSystem &PrintSystem() {
    static TPrintSystem machine;
    return installed != nullptr ? *installed : machine;
}

void SetPrintSystem(TPrintSystem *system) { installed = system; }

}  // namespace dorv::print
