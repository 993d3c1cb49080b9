// The individual result sheet's form opened on the sample school: the
// statistics of one test computed, the frequency view that lends its charts
// and the globals the form reads, all let go again after the test.
#pragma once

#include "print/DorvPrintDispDosu.h"
#include "print/calc_test.h"
#include "print/dorv_print_kojin.h"
#include "schooldata/dialogs/input_wait.h"
#include "schooldata/globals.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/name_data.h"
#include "schooldata/soten_data.h"
#include "schooldata/test_names.h"

#include "sample_print_sandbox.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QPrinterInfo>

#include <memory>

namespace dorv::testing {

class SampleKojinTest : public ::testing::Test {
protected:
    // The form on `today`, with the statistics of test `id` of `grade`.
    void Open(QDate today, int grade, TTestId id) {
        if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a default printer exists: nothing to a PDF";
        sandbox_ = std::make_unique<SamplePrintSandbox>(today);
        ASSERT_TRUE(sandbox_->Ready());
        CurCalcTest = calc_.get();
        CurNameData = names_.get();
        CurSotenData = scores_.get();
        CurKurasuSuData = classes_.get();
        CurTeikiTestName = &teiki_;
        CurJitsuTestName = &jitsu_;
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
        CurCalcTest = nullptr;
        CurNameData = nullptr;
        CurSotenData = nullptr;
        CurKurasuSuData = nullptr;
        CurTeikiTestName = nullptr;
        CurJitsuTestName = nullptr;
        sandbox_.reset();
    }
    QStringList Pdfs() const { return sandbox_->Pdfs(); }

    std::unique_ptr<SamplePrintSandbox> sandbox_;
    TfrmWait wait_;
    std::unique_ptr<TCalcTest> calc_ = std::make_unique<TCalcTest>();
    std::unique_ptr<TNameData> names_ = std::make_unique<TNameData>();
    std::unique_ptr<TSotenData> scores_ = std::make_unique<TSotenData>();
    std::unique_ptr<TKurasuSuData> classes_ = std::make_unique<TKurasuSuData>();
    TTeikiTestName teiki_;
    TJitsuTestName jitsu_;
    std::unique_ptr<TfrmDispDosu> dosu_;
    std::unique_ptr<TfrmPrintKojin> form_;
};

}  // namespace dorv::testing
