#include "soten_form_fixture.h"

#include "dialogs/DorvSelectJitsu.h"
#include "dialogs/DorvSelectTeiki.h"
#include "schooldata/globals.h"

#include <QLineEdit>
#include <QPushButton>

namespace dorv::testing {

SotenSchool::SotenSchool() : EntrySchool(0) {
    teikiNames.TestName[kGrade][kTest] = "１学期期末テスト";
    jitsuNames.TestName[kGrade][kTest] = "第２回実力テスト";
    CurTeikiTestName = &teikiNames;
    CurJitsuTestName = &jitsuNames;
    selectTeiki = std::make_unique<TfrmSelectTeiki>();
    selectJitsu = std::make_unique<TfrmSelectJitsu>();
    frmSelectTeiki = selectTeiki.get();
    frmSelectJitsu = selectJitsu.get();
    SelectedGrade = 1;
    SelectedTest = 1;
    TestId = {0, 1};
}

SotenSchool::~SotenSchool() {
    frmSelectTeiki = nullptr;
    frmSelectJitsu = nullptr;
    CurTeikiTestName = nullptr;
    CurJitsuTestName = nullptr;
}

void SotenSchool::setRoster(const std::vector<Student> &students) const {
    SheetSpec data{"Data", {{"A1", "番号"}, {"B1", "氏名"}, {"C1", "性別"}}};
    for (const Student &s : students) {
        const std::string row = std::to_string(s.slot + 1);
        data.cells.push_back({"B" + row, s.name});
        if (!s.sex.empty()) data.cells.push_back({"C" + row, s.sex});
    }
    WriteXls(folder.Grade(kGrade, "名簿.xls"), {data});
}

Opening OpenForm(TfrmDorvInputSoten &form, SelectGridDialog &dialog, const std::function<void()> &steps) {
    return OpenWith(
        form, dialog,
        [&dialog] {
            dialog.grid->setCurrentCell(SotenSchool::kGrade - 1, SotenSchool::kTest);
            dialog.btnOK->click();
        },
        steps);
}

void TypeAndEnter(TfrmDorvInputSoten &form, const QString &text) { TypeAndEnter(*form.edtInput, text); }

QColor GridPixel(TfrmDorvInputSoten &form, int col, int row, int dx, int dy) {
    return GridPixel(*form.sgrInput, col, row, dx, dy);
}

}  // namespace dorv::testing
