// A printing system without a printer, so that the tests of the PDF path
// check the same on a machine that has a default printer as on one without.
#pragma once

#include "print/layer/print_system.h"

namespace dorv::testing {

class NoPrinterSystem : public print::TPrintSystem {
public:
    QString DefaultPrinter() override { return {}; }
    // With no printer there is nothing to hand a job to; a job that tries
    // anyway is refused loudly.
    print::TSubmission Submit(const QString &, const QString &, const QString &) override {
        return {print::TSubmission::Refused, "no printer in this test"};
    }
};

// Puts a NoPrinterSystem in place for its lifetime.
class NoPrinterScope {
public:
    NoPrinterScope() { print::SetPrintSystem(&system_); }
    ~NoPrinterScope() { print::SetPrintSystem(nullptr); }
    NoPrinterScope(const NoPrinterScope &) = delete;
    NoPrinterScope &operator=(const NoPrinterScope &) = delete;

private:
    NoPrinterSystem system_;
};

}  // namespace dorv::testing
