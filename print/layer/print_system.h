// The machine's printing system as the print jobs see it: which printer is
// the default one, and handing it a finished document. Behind one
// replaceable object so that tests can put in a system of their own.
#pragma once

#include <QString>

namespace dorv::print {

// How the printing system answered a document handed to it.
struct TSubmission {
    enum TOutcome {
        Printing,   // taken, and the printer is working
        Waiting,    // taken, but the printer is stopped: the job waits in its queue
        NotFound,   // no such printer (any longer)
        Rejecting,  // the printer takes no jobs
        Refused,    // not taken, for `reason`
    };
    TOutcome outcome = Printing;
    // The printing system's own words, for Refused.
    QString reason;
};

class TPrintSystem {
public:
    virtual ~TPrintSystem() = default;

    // The default printer's name; empty when there is none.
    virtual QString DefaultPrinter();
    // Hands the PDF file `pdf` to `printer` as one job titled `title`, on A4
    // paper, and tells what became of it.
    virtual TSubmission Submit(const QString &printer, const QString &pdf, const QString &title);
};

TPrintSystem &PrintSystem();
// Puts `system` in place (not owned); nullptr brings back the machine's own.
void SetPrintSystem(TPrintSystem *system);

}  // namespace dorv::print
