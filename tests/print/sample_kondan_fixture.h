// The conference sheet's form opened on the sample school for one term and
// test of the first grade, with the globals the form reads, all let go
// again after the test. The data set is loaded by the test itself.
#pragma once

#include "print/dorv_print_kondan.h"
#include "schooldata/dialogs/input_wait.h"
#include "schooldata/globals.h"
#include "schooldata/kanten_data.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/name_data.h"
#include "schooldata/test_names.h"

#include "sample_print_sandbox.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QPrinterInfo>

#include <memory>

namespace dorv::testing {

class SampleKondanTest : public ::testing::Test {
protected:
    // The form on `today` for test `id` of `term`.
    void Open(QDate today, int term, TTestId id) {
        if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a default printer exists: nothing to a PDF";
        sandbox_ = std::make_unique<SamplePrintSandbox>(today);
        ASSERT_TRUE(sandbox_->Ready());
        CurKurasuSuData = classes_.get();
        CurTeikiTestName = &teiki_;
        CurJitsuTestName = &jitsu_;
        CurKantenData = kanten_.get();
        CurNameData = names_.get();
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
        CurKurasuSuData = nullptr;
        CurTeikiTestName = nullptr;
        CurJitsuTestName = nullptr;
        CurKantenData = nullptr;
        CurNameData = nullptr;
        sandbox_.reset();
    }
    QStringList Pdfs() const { return sandbox_->Pdfs(); }

    std::unique_ptr<SamplePrintSandbox> sandbox_;
    TfrmWait wait_;
    std::unique_ptr<TKurasuSuData> classes_ = std::make_unique<TKurasuSuData>();
    TTeikiTestName teiki_;
    TJitsuTestName jitsu_;
    std::unique_ptr<TKantenData> kanten_ = std::make_unique<TKantenData>();
    std::unique_ptr<TNameData> names_ = std::make_unique<TNameData>();
    std::unique_ptr<TfrmPrintKondan> form_;
};

}  // namespace dorv::testing
