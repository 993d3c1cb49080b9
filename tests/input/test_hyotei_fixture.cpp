#include "test_hyotei_fixture.h"

#include "input/DorvSelectNaishin.h"
#include "schooldata/desktop/form.h"
#include "schooldata/desktop/radio_group.h"
#include "schooldata/desktop/string_grid.h"
#include "schooldata/dialogs/input_wait.h"
#include "schooldata/dialogs/select_gakunen.h"
#include "schooldata/dialogs/select_hyotei.h"
#include "schooldata/globals.h"
#include "schooldata/settings.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace dorv::testing {

namespace {

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

RatingSchool::RatingSchool() {
    teachers.Teacher[1].StaffNo = "1001";
    teachers.Teacher[1].TeacherName = "山田太郎";
    CurTeachers = &teachers;
    TeacherIndex = 1;
    setTeacher(2);
    selectHyotei = std::make_unique<TfrmSelectHyotei>();
    selectGakunen = std::make_unique<TfrmSelectGakunen>();
    selectNaishin = std::make_unique<TfrmSelectNaishin>();
    wait = std::make_unique<TfrmWait>();
    frmSelectHyotei = selectHyotei.get();
    frmSelectGakunen = selectGakunen.get();
    frmSelectNaishin = selectNaishin.get();
    frmWait = wait.get();
    SelectedGrade = 1;
    SelectedTerm = 1;
    setClassCounts(3, 2, 1);

    SheetSpec roster{"Data", {{"A1", "番号"}, {"B1", "氏名"}, {"C1", "性別"}}};
    const std::vector<std::tuple<int, std::string, std::string>> students = {
        {1, "青木一郎", "男"}, {2, "井上花子", "女"}, {4, "上田健", "男"}, {5, "江藤由美", "女"},
        {6, "大野翔", "男"},   {43, "加藤愛", "女"},  {44, "木村拓", "男"}};
    for (const auto &[slot, name, sex] : students) {
        roster.cells.push_back({"B" + std::to_string(slot + 1), name});
        roster.cells.push_back({"C" + std::to_string(slot + 1), sex});
    }
    WriteXls(folder.Grade(kGrade, "名簿.xls"), {roster});
}

RatingSchool::~RatingSchool() {
    frmSelectHyotei = nullptr;
    frmSelectGakunen = nullptr;
    frmSelectNaishin = nullptr;
    frmWait = nullptr;
    CurTeachers = nullptr;
    TeacherIndex = 0;
}

void RatingSchool::setClassCounts(int grade1, int grade2, int grade3) const {
    WriteXls(folder.Kihon("KurasuSu.xls"),
             {{"KurasuSu",
               {{"A1", "学年"}, {"B1", "学級数"}, {"A2", "1"}, {"B2", std::to_string(grade1)}, {"A3", "2"},
                {"B3", std::to_string(grade2)}, {"A4", "3"}, {"B4", std::to_string(grade3)}}}});
}

void RatingSchool::setTeacher(int kyoka) { teachers.Teacher[1].Kyoka = static_cast<std::uint8_t>(kyoka); }

void RatingSchool::setKanten(const std::string &workbook, const std::map<int, std::vector<std::string>> &labels) const {
    std::vector<SheetSpec> book;
    for (int s = 0; s < 9; ++s) {
        SheetSpec sheet{std::string(KyokaSheetNames[static_cast<std::size_t>(s)])};
        if (const auto it = labels.find(s); it != labels.end())
            for (std::size_t i = 0; i < it->second.size(); ++i)
                if (!it->second[i].empty()) sheet.cells.push_back({"A" + std::to_string(i + 1), it->second[i]});
        book.push_back(sheet);
    }
    WriteXls(folder.Kihon(workbook), book);
}

void RatingSchool::writeRatings(const std::filesystem::path &path, const std::map<std::string, std::string> &cells) const {
    std::vector<SheetSpec> book{{"Data", {{"A1", "番号"}}}};
    for (int s = 0; s < 9; ++s) book.push_back({std::string(KyokaSheetNames[static_cast<std::size_t>(s)])});
    for (const auto &[where, text] : cells) {
        const auto bang = where.find('!');
        for (SheetSpec &sheet : book)
            if (sheet.name == where.substr(0, bang)) {
                // Marks are letters; a digit there is still a text.
                if (sheet.name == "Data") sheet.cells.push_back({where.substr(bang + 1), text});
                else sheet.texts.push_back({where.substr(bang + 1), text});
            }
    }
    WriteXls(path, book);
}

Opening OpenWith(Form &form, Form &dialog, const std::function<void()> &choose, const std::function<void()> &steps) {
    Opening opening;
    auto alive = std::make_shared<bool>(true);
    WhenUp(dialog, choose, alive);
    WhenUp(form, [&] {
        opening.opened = true;
        steps();
        if (form.isVisible()) QTimer::singleShot(0, &form, [&form, alive] { if (*alive) form.done(0); });
    }, alive);
    opening.result = form.run();
    *alive = false;
    return opening;
}

void ChooseTerm(TfrmSelectHyotei &dialog) {
    dialog.grid->setCurrentCell(RatingSchool::kGrade - 1, RatingSchool::kTerm);
    dialog.btnOK->click();
}

void ChooseGrade(TfrmSelectGakunen &dialog) {
    dialog.rgrGakunen->setItemIndex(RatingSchool::kGrade - 1);
    dialog.btnOK->click();
}

void ChooseNaishin(TfrmSelectNaishin &dialog) {
    dialog.grid->setCurrentCell(RatingSchool::kGrade - 1, RatingSchool::kTerm);
    dialog.btnOK->click();
}

void TypeAndEnter(QLineEdit &edit, const QString &text) {
    edit.selectAll();
    if (text.isEmpty()) edit.del();
    else QTest::keyClicks(&edit, text);
    QTest::keyClick(&edit, Qt::Key_Return);
}

int RedPixels(StringGrid &grid, int col, int row) {
    const QRect cell = grid.cellRect(col, row);
    if (cell.isEmpty()) return 0;
    const QImage image = grid.viewport()->grab().toImage();
    int n = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            if (const QColor c = image.pixelColor(x, y); c.red() - c.green() > 100 && c.red() - c.blue() > 100) ++n;
    return n;
}

QColor GridPixel(StringGrid &grid, int col, int row, int dx, int dy) {
    const QRect cell = grid.cellRect(col, row);
    if (cell.isEmpty()) return {};
    return grid.viewport()->grab().toImage().pixelColor(cell.left() + dx, cell.top() + dy);
}

}  // namespace dorv::testing
