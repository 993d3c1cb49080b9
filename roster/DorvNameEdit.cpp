#include "roster/DorvNameEdit.h"

#include "desktop/error_box.h"
#include "desktop/fonts.h"
#include "desktop/radio_group.h"
#include "desktop/string_grid.h"
#include "desktop/to_qstring.h"
#include "roster/name_layout.h"
#include "roster/roster_save.h"
#include "roster/roster_widgets.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/name_data.h"
#include "schooldata/settings.h"
#include "workbook/cp932.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace dorv {
namespace {

constexpr std::uint8_t kSexUnset = 255;

std::string u(const QString &s) { return s.toStdString(); }

// "男子", "女子", or nothing for an unset sex (3 as loaded, 255 as cleared).
QString sexLabel(std::uint8_t sex) { return sex <= 1 ? ToQString(SexNames[sex]) : QString(); }

// Only a boy or a girl chooses an item; an unset sex chooses none, so that
// a later change records no sex the user did not pick.
int sexItem(std::uint8_t sex) { return sex == TNameData::kSexBoy || sex == TNameData::kSexGirl ? sex : -1; }

constexpr int kNumberPixels = 48;

// The student number in the label's 48-pixel font, smaller where four digits
// (class 10 and above) would run out of the label.
void ShowNumber(QLabel *label, const QString &number) {
    QFont font = label->font();
    font.setPixelSize(kNumberPixels);
    const int width = QFontMetrics(font).horizontalAdvance(number);
    if (width > label->width()) font.setPixelSize(kNumberPixels * label->width() / width);
    label->setFont(font);
    label->setText(number);
}

}  // namespace

TfrmNameEdit::TfrmNameEdit(QWidget *parent) : Form(parent) {
    setObjectName("frmNameEdit");
    setWindowTitle(QStringLiteral("名簿編集"));
    setBorder(Border::DialogMinimise);
    setClientSize(862, 611);
    setBackground(colours::green);
    SetUiFont(this, kMsPGothic, 12);

    lblTitle = new QLabel(QStringLiteral("名簿の編集"), this);
    SetUiFont(lblTitle, kMsPGothic, 21);
    SetTextColour(lblTitle, colours::window());
    lblTitle->move(56, 16);
    lblTitle->adjustSize();
    lblTitle->resize(lblTitle->width(), 21);

    sgdName = new StringGrid(this);
    sgdName->setGeometry(16, 56, 209, 537);
    sgdName->setColCount(3);
    sgdName->setFixedCols(1);
    sgdName->setFixedRows(1);
    sgdName->setDefaultRowHeight(16);
    sgdName->setGridLines(true);
    SetUiFont(sgdName, kMsGothic, 12);

    pnlOne = new QFrame(this);
    pnlOne->setGeometry(256, 56, 561, 185);
    pnlOne->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnlOne->setLineWidth(3);

    lblNumber = new QLabel(pnlOne);
    lblNumber->setObjectName("lblNumber");
    SetUiFont(lblNumber, kMsPGothic, kNumberPixels);
    SetTextColour(lblNumber, colours::window());
    lblNumber->setGeometry(8, 24, 96, 48);

    edtOne = new QLineEdit(pnlOne);
    edtOne->setGeometry(104, 25, 345, 56);
    SetUiFont(edtOne, kMsGothic, 48);
    edtOne->setAttribute(Qt::WA_InputMethodEnabled, true);

    rgpDanjo = new RadioGroup(pnlOne);
    rgpDanjo->setTitle(QStringLiteral("男女"));
    rgpDanjo->setGeometry(464, 24, 73, 65);
    SetUiFont(rgpDanjo, kMsPGothic, 12);
    // Caption and item texts in the window colour; the check marks keep
    // the text colour, or a chosen item would look unchosen.
    SetCaptionColour(rgpDanjo, colours::window());
    rgpDanjo->setItems({QStringLiteral("男子"), QStringLiteral("女子")});

    btnChange = RosterButton(pnlOne, QStringLiteral("変更"), {296, 104, 161, 57}, 27);
    BitBtn1 = RosterButton(pnlOne, QStringLiteral("１行削除"), {72, 136, 75, 25}, 12);
    SetTextColour(BitBtn1, colours::red);
    btnXferAll = RosterButton(this, QStringLiteral("すべて変換⇒７文字"), {304, 296, 233, 81}, 19);
    btnClose = RosterButton(this, QStringLiteral("保存して終了"), {640, 504, 123, 49}, 12);
    btnExit = RosterButton(this, QStringLiteral("保存しないで終了"), {360, 536, 75, 25}, 8);
    SetTextColour(btnExit, colours::red);

    setTabOrder(sgdName, btnClose);
    setTabOrder(btnClose, edtOne);
    setTabOrder(edtOne, rgpDanjo);
    setTabOrder(rgpDanjo, btnChange);
    setTabOrder(btnChange, BitBtn1);
    setTabOrder(BitBtn1, btnXferAll);
    setTabOrder(btnXferAll, btnExit);

    connect(sgdName, &StringGrid::clicked, this, Guarded([this] { sgdNameClick(); }, this));
    connect(btnChange, &QPushButton::clicked, this, Guarded([this] { btnChangeClick(); }, this));
    connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }, this));
    connect(btnXferAll, &QPushButton::clicked, this, Guarded([this] { btnXferAllClick(); }, this));
    connect(btnClose, &QPushButton::clicked, this, Guarded([this] { btnCloseClick(); }, this));
    connect(btnExit, &QPushButton::clicked, this, Guarded([this] { btnExitClick(); }, this));
}

TfrmNameEdit::~TfrmNameEdit() = default;

void TfrmNameEdit::formShow() {
    NameData = std::make_unique<TNameData>();
    KurasuSuData = std::make_unique<TKurasuSuData>();
    NameData->Grade = Grade;
    ClassCount = 0;
    try {
        KurasuSuData->LoadKurasuSu();
        ClassCount = KurasuSuData->GradeClasses[Grade];
        NameData->LoadMeibo(ClassCount);
    } catch (...) {
        // Nothing to edit: a roster that did not load must not be saved over.
        done(Rejected);
        throw;
    }

    // A grade without classes keeps one blank, inactive row: the grid needs
    // a row below its headings, and no slot may be touched.
    sgdName->setRowCount(std::max(studentRows(), 1) + 1);
    sgdName->setColWidth(0, 30);
    sgdName->setColWidth(1, 120);
    sgdName->setColWidth(2, 30);
    sgdName->setCell(0, 0, QStringLiteral("番号"));
    sgdName->setCell(1, 0, QStringLiteral("名前"));
    sgdName->setCell(2, 0, QStringLiteral("性別"));
    for (int col = 0; col < 3; ++col) sgdName->setCell(col, 1, QString());
    for (int c = 1; c <= ClassCount; ++c) {
        for (int n = 1; n <= kStudentsPerClass; ++n) {
            const int r = SlotOf(c, n);
            sgdName->setCell(0, r, QString::number(c * 100 + n));
            sgdName->setCell(1, r, ToQString(NameData->Names[r]));
            sgdName->setCell(2, r, sexLabel(NameData->Sex[r]));
        }
    }
    setPanelEnabled(ClassCount > 0);
    sgdName->setCurrentCell(1, 1);
    sgdName->setTopRow(1);

    ShowNumber(lblNumber, sgdName->cell(0, 1));
    edtOne->setText(sgdName->cell(1, 1));
    rgpDanjo->setItemIndex(hasRow(1) ? sexItem(NameData->Sex[1]) : -1);
}

void TfrmNameEdit::setPanelEnabled(bool on) {
    for (QWidget *w :
         {static_cast<QWidget *>(edtOne), static_cast<QWidget *>(rgpDanjo), static_cast<QWidget *>(btnChange),
          static_cast<QWidget *>(BitBtn1), static_cast<QWidget *>(btnXferAll)})
        w->setEnabled(on);
}

void TfrmNameEdit::sgdNameClick() {
    const int r = sgdName->row();
    if (!hasRow(r)) return;
    ShowNumber(lblNumber, sgdName->cell(0, r));
    edtOne->setText(sgdName->cell(1, r));
    rgpDanjo->setItemIndex(edtOne->text().isEmpty() ? -1 : sexItem(NameData->Sex[r]));
    repaint();
}

void TfrmNameEdit::goToNextRow(int row) {
    if (row < sgdName->rowCount() - 1) sgdName->setRow(row + 1);
}

void TfrmNameEdit::btnChangeClick() {
    const int r = sgdName->row();
    if (!hasRow(r)) return;
    std::string text = u(edtOne->text());
    if (IsConvertibleWidth(cp932::width(text))) {
        text = NameTo7Chars(text);
        edtOne->setText(ToQString(text));
    }
    // The list shows what is kept: a longer text loses its end at a
    // character boundary.
    const std::string stored = cp932::cut(text, TNameData::kNameBytes);
    const int item = rgpDanjo->itemIndex();
    sgdName->setCell(1, r, ToQString(stored));
    sgdName->setCell(2, r, item >= 0 ? ToQString(SexNames[static_cast<std::size_t>(item)]) : QString());
    NameData->Names[r] = stored;
    NameData->Cut[r] = 0;  // what was typed is what the save writes
    NameData->Modified[r] = 1;
    NameData->Sex[r] = item >= 0 ? static_cast<std::uint8_t>(item) : kSexUnset;
    goToNextRow(r);
}

void TfrmNameEdit::BitBtn1Click() {
    const int r = sgdName->row();
    if (!hasRow(r)) return;
    sgdName->setCell(1, r, QString());
    sgdName->setCell(2, r, QString());
    NameData->Names[r].clear();
    NameData->Cut[r] = 0;
    NameData->Modified[r] = 1;
    NameData->Sex[r] = kSexUnset;
    goToNextRow(r);
}

void TfrmNameEdit::btnXferAllClick() {
    for (int r = 1; r <= studentRows(); ++r) {
        // A name that loaded cut short looks like a short one; laid out and
        // saved it would replace the full name in the workbook.
        if (NameData->Cut[r]) continue;
        const std::string text = u(sgdName->cell(1, r));
        if (!IsConvertibleWidth(cp932::width(text))) continue;
        const std::string stored = cp932::cut(NameTo7Chars(text), TNameData::kNameBytes);
        sgdName->setCell(1, r, ToQString(stored));
        NameData->Names[r] = stored;
        NameData->Modified[r] = 1;
    }
}

void TfrmNameEdit::btnCloseClick() {
    if (!NameData) return;
    // A failed save raises before the form closes, so the edits stay and
    // "保存して終了" can be pressed again.
    SaveMeibo(*NameData, ClassCount);
    accept();
}

void TfrmNameEdit::btnExitClick() { reject(); }

void TfrmNameEdit::done(int result) {
    Form::done(result);
    KurasuSuData.reset();
    NameData.reset();
}

}  // namespace dorv
