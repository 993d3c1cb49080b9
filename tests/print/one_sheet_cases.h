// The one-sheet group of a per-student sheet's form driven through a table
// of typed class and number texts.
#pragma once

#include "print/forms/StudentSheetForm.h"
#include "schooldata/name_data.h"

#include "sample_print_sandbox.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include <initializer_list>

namespace dorv::testing {

// What the sandbox holds after a case: messages, errors and PDFs so far.
struct OneSheetCase {
    const char *classText, *numberText;
    int messages, errors, pdfs;
};

// Types each case and presses "印刷実行", in order.
inline void ExpectOneSheetCases(TStudentSheetForm &form, const SamplePrintSandbox &sandbox,
                                std::initializer_list<OneSheetCase> cases) {
    for (const auto &c : cases) {
        form.edtClass->setText(c.classText);
        form.edtNumber->setText(c.numberText);
        form.btnPrintOne->click();
        EXPECT_EQ(sandbox.services.messages.size(), c.messages) << c.classText << " " << c.numberText;
        EXPECT_EQ(sandbox.services.errors.size(), c.errors) << c.classText << " " << c.numberText;
        EXPECT_EQ(sandbox.Pdfs().size(), c.pdfs) << c.classText << " " << c.numberText;
    }
}

// The last free number of class 1, or 0 when the class is full.
inline int LastFreeNumberOfClass1(const TNameData &names) {
    for (int n = 42; n >= 1; --n)
        if (names.Names[n].empty()) return n;
    return 0;
}

}  // namespace dorv::testing
