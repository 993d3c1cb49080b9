#include "entry_form_fixture.h"

#include "desktop/form.h"
#include "desktop/string_grid.h"
#include "dialogs/DorvInputWait.h"
#include "schooldata/globals.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

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

EntrySchool::EntrySchool(int kyoka) {
    teachers.Teacher[1].StaffNo = "1001";
    teachers.Teacher[1].TeacherName = "山田太郎";
    CurTeachers = &teachers;
    TeacherIndex = 1;
    setTeacher(kyoka);
    wait = std::make_unique<TfrmWait>();
    frmWait = wait.get();
    setClassCounts(3, 2, 1);
}

EntrySchool::~EntrySchool() {
    frmWait = nullptr;
    CurTeachers = nullptr;
    TeacherIndex = 0;
}

void EntrySchool::setClassCounts(int grade1, int grade2, int grade3) const {
    WriteClassCountsXls(folder.Kihon("KurasuSu.xls"), grade1, grade2, grade3);
}

void EntrySchool::setTeacher(int kyoka) { teachers.Teacher[1].Kyoka = static_cast<std::uint8_t>(kyoka); }

Opening OpenWith(Form &form, Form &dialog, const std::function<void()> &choose, const std::function<void()> &steps) {
    Opening opening;
    auto alive = std::make_shared<bool>(true);
    WhenUp(dialog, choose, alive);
    WhenUp(
        form,
        [&] {
            opening.opened = true;
            steps();
            if (form.isVisible())
                QTimer::singleShot(0, &form, [&form, alive] {
                    if (*alive) form.done(0);
                });
        },
        alive);
    opening.result = form.run();
    *alive = false;
    return opening;
}

void ExpectRefusedOpening(const Opening &opening, const Form &form, const RecordingServices &boxes,
                          const QString &error) {
    EXPECT_FALSE(opening.opened);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(frmWait->isVisible());
    ASSERT_EQ(boxes.errors.size(), 1);
    if (!error.isEmpty()) {
        EXPECT_EQ(boxes.errors[0], error);
    }
}

void TypeAndEnter(QLineEdit &edit, const QString &text) {
    edit.selectAll();
    if (text.isEmpty()) edit.del();
    else QTest::keyClicks(&edit, text);
    QTest::keyClick(&edit, Qt::Key_Return);
}

QColor GridPixel(StringGrid &grid, int col, int row, int dx, int dy) {
    const QRect cell = grid.cellRect(col, row);
    if (cell.isEmpty()) return {};
    return grid.viewport()->grab().toImage().pixelColor(cell.left() + dx, cell.top() + dy);
}

}  // namespace dorv::testing
