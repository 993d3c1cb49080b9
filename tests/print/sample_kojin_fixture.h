// The individual result sheet's form opened on the sample school: the
// statistics of one test computed, the frequency view that lends its charts
// and the globals the form reads, all let go again after the test.
#pragma once

#include "dialogs/DorvInputWait.h"
#include "print/forms/DorvPrintKojin.h"
#include "print/views/DorvPrintDispDosu.h"
#include "schooldata/globals.h"

#include "no_printer.h"
#include "sample_print_sandbox.h"
#include "statistics_globals.h"

#include <gtest/gtest.h>

#include <QDate>

#include <filesystem>
#include <functional>
#include <memory>

namespace dorv::testing {

class SampleKojinTest : public ::testing::Test, protected StatisticsGlobals {
protected:
    // The form on `today`, with the statistics of test `id` of `grade`;
    // `change` alters the sample school before anything is read.
    void Open(QDate today, int grade, TTestId id,
              const std::function<void(const std::filesystem::path &)> &change = {}) {
        if (!toPrinter_) noPrinter_ = std::make_unique<NoPrinterScope>();
        sandbox_ = std::make_unique<SamplePrintSandbox>(today);
        ASSERT_TRUE(sandbox_->Ready());
        if (change) change(sandbox_->Drive());
        teiki_.LoadTestNames();
        jitsu_.LoadTestNames();
        frmWait = &wait_;
        dosu_ = std::make_unique<TfrmDispDosu>();
        frmDispDosu = dosu_.get();
        form_ = std::make_unique<TfrmPrintKojin>();
        SelectedGrade = static_cast<std::uint8_t>(grade);
        SelectedTest = id.TestNo;
        TestId = id;
        CurNameData->Grade = SelectedGrade;
        CurCalcTest->Calculate();
    }
    void TearDown() override {
        form_.reset();
        frmDispDosu = nullptr;
        dosu_.reset();
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
    std::unique_ptr<TfrmDispDosu> dosu_;
    std::unique_ptr<TfrmPrintKojin> form_;
};

}  // namespace dorv::testing
