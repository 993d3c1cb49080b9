// The conference sheet's form opened on the sample school for one term and
// test of the first grade, with the globals the form reads, all let go
// again after the test. The data set is loaded by the test itself.
#pragma once

#include "dialogs/DorvInputWait.h"
#include "print/forms/DorvPrintKondan.h"
#include "schooldata/globals.h"

#include "kondan_globals.h"
#include "no_printer.h"
#include "sample_print_sandbox.h"

#include <gtest/gtest.h>

#include <QDate>

#include <memory>

namespace dorv::testing {

class SampleKondanTest : public ::testing::Test, protected KondanGlobals {
protected:
    // The form on `today` for test `id` of `term`.
    void Open(QDate today, int term, TTestId id) {
        if (!toPrinter_) noPrinter_ = std::make_unique<NoPrinterScope>();
        sandbox_ = std::make_unique<SamplePrintSandbox>(today);
        ASSERT_TRUE(sandbox_->Ready());
        names_->Grade = 1;
        SelectedGrade = 1;
        SelectedTerm = static_cast<std::uint8_t>(term);
        SelectedTest = id.TestNo;
        TestId = id;
        frmWait = &wait_;
        form_ = std::make_unique<TfrmPrintKondan>();
    }
    void TearDown() override {
        form_.reset();
        frmWait = nullptr;
        sandbox_.reset();
        noPrinter_.reset();
    }
    QStringList Pdfs() const { return sandbox_->Pdfs(); }

    // A test of the jobs that go to a printer sets it before Open().
    bool toPrinter_ = false;
    std::unique_ptr<NoPrinterScope> noPrinter_;
    std::unique_ptr<SamplePrintSandbox> sandbox_;
    TfrmWait wait_;
    std::unique_ptr<TfrmPrintKondan> form_;
};

}  // namespace dorv::testing
