// The machine's printing system as the print jobs see it: which printer is
// the default one, and handing it a finished document. Behind one
// replaceable object so that tests can put in a system of their own.
#pragma once

#include <QString>

namespace dorv::print {

class TPrintSystem {
public:
    virtual ~TPrintSystem() = default;

    // The default printer's name; empty when there is none.
    virtual QString DefaultPrinter();
    // Hands the PDF file `pdf` to `printer` as one job titled `title`, on A4
    // paper. Empty when the printing system took the job, otherwise its
    // reason for refusing it.
    virtual QString Submit(const QString &printer, const QString &pdf, const QString &title);
};

TPrintSystem &PrintSystem();
// Puts `system` in place (not owned); nullptr brings back the machine's own.
void SetPrintSystem(TPrintSystem *system);

}  // namespace dorv::print
