#include "input/entry_form_common.h"

#include "schooldata/access.h"
#include "schooldata/desktop/form.h"
#include "schooldata/desktop/fonts.h"
#include "schooldata/globals.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/settings.h"
#include "schooldata/teachers.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QPainter>

#include <algorithm>
#include <stdexcept>

namespace dorv {

namespace {

constexpr int kTechHomeSubject = 8;
constexpr int kNoSubject = 11;

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

void TakeClassCountOfGrade(TKurasuSuData &counts) {
    counts.LoadKurasuSu();
    const int classes = SelectedGrade >= 1 && SelectedGrade <= 3 ? counts.GradeClasses[SelectedGrade] : 0;
    if (classes < 1 || classes > kMaxClasses)
        throw std::runtime_error(std::to_string(SelectedGrade) + "年の学級数が " + std::to_string(classes) +
                                 " です。KurasuSu.xls に 1 から 10 までの学級数を入れてください");
    ClassCountOfGrade = static_cast<std::uint8_t>(classes);
}

int TeacherKyoka() {
    if (!CurTeachers || TeacherIndex < 1 || TeacherIndex > TTeachers::kRecords) return kNoSubject;
    return CurTeachers->Teacher[TeacherIndex].Kyoka;
}

int TeacherRatedSubject(const std::string &refusal) {
    const int kyoka = TeacherKyoka();
    if (kyoka >= kNoSubject) throw std::runtime_error(refusal);
    return std::min(kyoka, kTechHomeSubject);
}

void SetEntryPanelFace(QWidget *panel) {
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, colours::buttonFace());
    panel->setPalette(p);
    panel->setAutoFillBackground(true);
}

QLabel *EntryPanelLabel(QWidget *parent, const char *name, int left, int top) {
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    SetUiFont(l, kMsPGothic, 24);
    SetTextColour(l, QApplication::palette().color(QPalette::WindowText));
    l->setGeometry(left, top, 0, 26);
    return l;
}

QColor SexTint(const StringGrid &grid, int row, const QColor &otherwise) {
    const QString sex = grid.cell(2, row);
    if (sex == Q(SexNames[0])) return {224, 224, 255};
    if (sex == Q(SexNames[1])) return {255, 224, 224};
    return otherwise;
}

void DrawFifthStudentLine(QPainter &painter, const StringGrid &grid, const StringGrid::DrawCellArgs &cell) {
    bool isNumber = false;
    const int number = grid.cell(0, cell.row).trimmed().toInt(&isNumber);
    if (cell.state.fixed || !isNumber || number % 5 != 0) return;
    const int y = cell.rect.bottom() + 1;
    painter.setPen(Qt::black);
    painter.drawLine(cell.rect.left(), y, cell.rect.right() + 1, y);
}

}  // namespace dorv
