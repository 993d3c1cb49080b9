#include "soten_form_fixture.h"

#include "schooldata/dialogs/input_wait.h"
#include "schooldata/dialogs/select_jitsu.h"
#include "schooldata/dialogs/select_teiki.h"
#include "schooldata/globals.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace dorv::testing {

namespace {

// Runs `fn` once `form` is the open modal window, polling from the event
// loop while `alive` holds (a form that never opens leaves no poller behind).
void WhenUp(Form &form, std::function<void()> fn, std::shared_ptr<bool> alive) {
    QTimer::singleShot(0, &form, [&form, fn = std::move(fn), alive]() mutable {
        if (!*alive) return;
        if (form.isRunning() && form.isVisible() && QApplication::activeModalWidget() == &form) {
            fn();
            return;
        }
        WhenUp(form, std::move(fn), std::move(alive));
    });
}

}  // namespace

SotenSchool::SotenSchool() {
    teikiNames.TestName[kGrade][kTest] = "１学期期末テスト";
    jitsuNames.TestName[kGrade][kTest] = "第２回実力テスト";
    CurTeikiTestName = &teikiNames;
    CurJitsuTestName = &jitsuNames;
    teachers.Teacher[1].StaffNo = "1001";
    teachers.Teacher[1].TeacherName = "山田太郎";
    CurTeachers = &teachers;
    TeacherIndex = 1;
    setTeacher(0);
    selectTeiki = std::make_unique<TfrmSelectTeiki>();
    selectJitsu = std::make_unique<TfrmSelectJitsu>();
    wait = std::make_unique<TfrmWait>();
    frmSelectTeiki = selectTeiki.get();
    frmSelectJitsu = selectJitsu.get();
    frmWait = wait.get();
    SelectedGrade = 1;
    SelectedTest = 1;
    TestId = {0, 1};
    setClassCounts(3, 2, 1);
}

SotenSchool::~SotenSchool() {
    frmSelectTeiki = nullptr;
    frmSelectJitsu = nullptr;
    frmWait = nullptr;
    CurTeikiTestName = nullptr;
    CurJitsuTestName = nullptr;
    CurTeachers = nullptr;
    TeacherIndex = 0;
}

void SotenSchool::setClassCounts(int grade1, int grade2, int grade3) const {
    WriteXls(folder.Kihon("KurasuSu.xls"),
             {{"KurasuSu",
               {{"A1", "学年"}, {"B1", "学級数"}, {"A2", "1"}, {"B2", std::to_string(grade1)}, {"A3", "2"},
                {"B3", std::to_string(grade2)}, {"A4", "3"}, {"B4", std::to_string(grade3)}}}});
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

void SotenSchool::setTeacher(int kyoka) { teachers.Teacher[1].Kyoka = static_cast<std::uint8_t>(kyoka); }

Opening OpenForm(TfrmDorvInputSoten &form, SelectGridDialog &dialog, const std::function<void()> &steps) {
    Opening opening;
    auto alive = std::make_shared<bool>(true);
    WhenUp(dialog, [&dialog] {
        dialog.grid->setCurrentCell(SotenSchool::kGrade - 1, SotenSchool::kTest);
        dialog.btnOK->click();
    }, alive);
    WhenUp(form, [&] {
        opening.opened = true;
        steps();
        if (form.isVisible()) QTimer::singleShot(0, &form, [&form, alive] { if (*alive) form.done(0); });
    }, alive);
    opening.result = form.run();
    *alive = false;
    return opening;
}

void TypeAndEnter(TfrmDorvInputSoten &form, const QString &text) {
    form.edtInput->selectAll();
    if (text.isEmpty()) form.edtInput->del();
    else QTest::keyClicks(form.edtInput, text);
    QTest::keyClick(form.edtInput, Qt::Key_Return);
}

QColor GridPixel(TfrmDorvInputSoten &form, int col, int row, int dx, int dy) {
    StringGrid &grid = *form.sgrInput;
    const QRect cell = grid.cellRect(col, row);
    if (cell.isEmpty()) return {};
    const QImage image = grid.viewport()->grab().toImage();
    return image.pixelColor(cell.left() + dx, cell.top() + dy);
}

}  // namespace dorv::testing
