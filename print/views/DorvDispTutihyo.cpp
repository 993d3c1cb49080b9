#include "print/views/DorvDispTutihyo.h"

#include "desktop/error_box.h"
#include "desktop/fonts.h"
#include "desktop/string_grid.h"
#include "desktop/to_qstring.h"
#include "dialogs/DorvInputWait.h"
#include "print/pages/fullwidth.h"
#include "schooldata/access.h"
#include "schooldata/globals.h"
#include "schooldata/hyotei_data.h"
#include "schooldata/kanten_data.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/name_data.h"
#include "schooldata/settings.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>
#include <string>

namespace dorv {

TfrmDispTutihyo *frmDispTutihyo = nullptr;

namespace {

// Rows 1..9 of the ratings grid: 英語 last.
constexpr int kRowSubjects[TfrmDispHyotei::kSubjects] = {0, 1, 2, 3, 5, 6, 7, 8, 4};

struct KantenPlace {
    const char *grid;
    const char *label;
    int subject;
    int gridLeft, gridTop;
    int labelLeft, labelTop;
};

// In the order of the keyboard.
constexpr KantenPlace kKantenPlaces[TfrmDispHyotei::kSubjects] = {
    {"sgrKokugo", "lblKokugo", 0, 48, 16, 8, 88},      {"sgrSugaku", "lblSugaku", 2, 48, 352, 8, 424},
    {"sgrShakai", "lblShakai", 1, 48, 184, 8, 256},    {"sgrRika", "lblRika", 3, 288, 16, 248, 88},
    {"sgrOngaku", "lblOngaku", 5, 288, 184, 248, 256}, {"sgrBijutsu", "lblBijutsu", 6, 288, 352, 248, 424},
    {"sgrHotai", "lblHotai", 7, 528, 16, 488, 88},     {"sgrGika", "lblGika", 8, 528, 184, 488, 256},
    {"sgrEigo", "lblEigo", 4, 528, 352, 488, 424},
};

QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text, int left, int top, int px) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    SetUiFont(label, kMsPGothic, px);
    label->move(left, top);
    label->adjustSize();
    return label;
}

SpinButtons MakeSpin(QWidget *parent, const char *name, int left, int top) {
    SpinButtons spin;
    spin.box = new QWidget(parent);
    spin.box->setObjectName(name);
    spin.box->setGeometry(left, top, 33, 73);
    auto *layout = new QVBoxLayout(spin.box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    spin.up = new QToolButton(spin.box);
    spin.up->setObjectName(QString(name) + "Up");
    spin.up->setArrowType(Qt::UpArrow);
    spin.down = new QToolButton(spin.box);
    spin.down->setObjectName(QString(name) + "Down");
    spin.down->setArrowType(Qt::DownArrow);
    for (QToolButton *b : {spin.up, spin.down}) {
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(b);
    }
    return spin;
}

// Every cell paints itself: heading cells in the button face, the rest
// white, black text, and no highlight for the current cell.
void PaintCell(QPainter &painter, const StringGrid::DrawCellArgs &args) {
    painter.fillRect(args.rect, args.state.fixed ? colours::buttonFace() : QColor(Qt::white));
    painter.setPen(Qt::black);
    StringGrid::drawCellText(painter, args.rect, args.text);
}

StringGrid *MakeGrid(QWidget *parent, const char *name, int rows, int rowHeight, int fontPx) {
    auto *grid = new StringGrid(parent);
    grid->setObjectName(name);
    grid->setColCount(2);
    grid->setRowCount(rows);
    grid->setFixedCols(1);
    grid->setFixedRows(1);
    grid->setDefaultRowHeight(rowHeight);
    grid->setGridLines(true);
    SetUiFont(grid, kMsPGothic, fontPx);
    grid->setDefaultDrawing(false);
    grid->setDrawCellHook(PaintCell);
    return grid;
}

// A rating or a viewpoint letter in full width; the empty byte shows nothing.
QString FullWidthOf(const std::string &text) { return ToQString(ToFullWidth(text)); }

}  // namespace

TfrmDispHyotei::TfrmDispHyotei(const Twin &twin, QWidget *parent) : Form(parent), twin_(twin) {
    setObjectName(twin.objectName);
    setBorder(Border::Dialog);
    setWindowTitle(twin.caption);
    setClientSize(1011, 656);
    setBackground(twin.background);
    SetUiFont(this, kMsPGothic, 12);

    lblTitle = MakeLabel(this, "lblTitle", {}, 40, 32, 32);

    pnlName = new QFrame(this);
    pnlName->setObjectName("pnlName");
    pnlName->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnlName->setLineWidth(2);
    pnlName->setGeometry(296, 16, 289, 89);
    pnlName->setFocusPolicy(Qt::TabFocus);
    lblNo = MakeLabel(pnlName, "lblNo", {}, 8, 8, 21);
    lblName = MakeLabel(pnlName, "lblName", {}, 24, 40, 32);

    lblNumber = MakeLabel(this, "lblNumber", "番号", 624, 8, 16);
    lblClass = MakeLabel(this, "lblClass", "組", 696, 8, 16);
    sbtNumber = MakeSpin(this, "sbtNumber", 624, 32);
    sbtClass = MakeSpin(this, "sbtClass", 688, 32);
    lblBack = MakeLabel(this, "lblBack", "前", 728, 40, 16);
    lblNext = MakeLabel(this, "lblNext", "次", 728, 80, 16);

    sgrHyotei = MakeGrid(this, "sgrHyotei", 10, 40, 40);
    sgrHyotei->setDefaultColWidth(82);
    sgrHyotei->setGeometry(8, 128, 169, 413);

    gbxKanten = new QGroupBox("観点", this);
    gbxKanten->setObjectName("gbxKanten");
    SetUiFont(gbxKanten, kMsPGothic, 19);
    gbxKanten->setGeometry(192, 120, 729, 521);

    StringGrid **grids[kSubjects] = {&sgrKokugo, &sgrShakai,  &sgrSugaku, &sgrRika, &sgrEigo,
                                     &sgrOngaku, &sgrBijutsu, &sgrHotai,  &sgrGika};
    QLabel **labels[kSubjects] = {&lblKokugo, &lblShakai,  &lblSugaku, &lblRika, &lblEigo,
                                  &lblOngaku, &lblBijutsu, &lblHotai,  &lblGika};
    for (const KantenPlace &place : kKantenPlaces) {
        StringGrid *grid = MakeGrid(gbxKanten, place.grid, 7, 22, 19);
        grid->setScrollBars(false, false);
        // Two pixels wider than 193: the columns of 150 and 40 and the line
        // between them fill 191 pixels, which the frame must hold.
        grid->setGeometry(place.gridLeft, place.gridTop, 195, 165);
        kantenGrids_[place.subject] = grid;
        *grids[place.subject] = grid;
        *labels[place.subject] = MakeLabel(gbxKanten, place.label, ToQString(KyokaNames[place.subject]),
                                           place.labelLeft, place.labelTop, 19);
    }

    btnClose = new QPushButton("終了", this);
    btnClose->setObjectName("btnClose");
    SetUiFont(btnClose, kMsPGothic, 12);
    btnClose->setGeometry(928, 536, 73, 33);

    QWidget *order[] = {sgrHyotei, pnlName, btnClose, gbxKanten};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
    QWidget *previous = gbxKanten;
    for (const KantenPlace &place : kKantenPlaces) {
        setTabOrder(previous, kantenGrids_[place.subject]);
        previous = kantenGrids_[place.subject];
    }
    for (QWidget *w : {sbtNumber.up, sbtNumber.down, sbtClass.up, sbtClass.down}) {
        setTabOrder(previous, w);
        previous = w;
    }

    connect(btnClose, &QPushButton::clicked, this, Guarded([this] { accept(); }, this));
    connect(sbtNumber.up, &QToolButton::clicked, this, Guarded([this] { sbtNumberUpClick(); }, this));
    connect(sbtNumber.down, &QToolButton::clicked, this, Guarded([this] { sbtNumberDownClick(); }, this));
    connect(sbtClass.up, &QToolButton::clicked, this, Guarded([this] { sbtClassUpClick(); }, this));
    connect(sbtClass.down, &QToolButton::clicked, this, Guarded([this] { sbtClassDownClick(); }, this));
}

QString TfrmDispHyotei::TitleText() const {
    const std::size_t grade = SelectedGrade < GakunenFolders.size() ? SelectedGrade : 0;
    if (twin_.isYouroku) return ToQString(GakunenFolders[grade]) + "指導要録";
    const std::size_t term = SelectedTerm < HyoteiFileNames.size() ? SelectedTerm : 0;
    return ToQString(GakunenFolders[grade]) + ToQString(HyoteiFileNames[term]);
}

void TfrmDispHyotei::formShow() {
    move(20, 20);
    try {
        load();
    } catch (...) {
        // The view never opens on what an earlier opening left.
        ShowCurrentError(this);
        done(QDialog::Rejected);
        return;
    }
    lblTitle->setText(TitleText());
    lblTitle->adjustSize();
    fillFixedTexts();
    curClass_ = 1;
    curNumber_ = 1;
    ShowStudent();
}

void TfrmDispHyotei::load() {
    BusyScope busy(frmWait);
    busy.progress(0);
    // Loaded aside and put in place only when every load succeeded, so a
    // failure leaves the shared objects as they were.
    auto kurasu = std::make_unique<TKurasuSuData>();
    kurasu->LoadKurasuSu();
    const std::uint8_t classCount = SelectedGrade >= 1 && SelectedGrade <= 3 ? kurasu->GradeClasses[SelectedGrade] : 0;

    auto kanten = std::make_unique<TKantenData>();
    kanten->WorkbookName = twin_.kantenWorkbook;
    kanten->LoadKanten();

    auto names = std::make_unique<TNameData>();
    names->Grade = CurNameData ? CurNameData->Grade : SelectedGrade;
    names->LoadMeibo(classCount);
    busy.progress(33);
    busy.progress(66);

    auto ratings = std::make_unique<THyoteiData>();
    ratings->IsYouroku = twin_.isYouroku;
    ratings->LoadHyotei(classCount);
    busy.progress(100);

    if (!CurKurasuSuData || !CurKantenData || !CurNameData || !CurHyoteiData)
        throw std::logic_error("表示するデータがありません");
    *CurKurasuSuData = *kurasu;
    *CurKantenData = *kanten;
    *CurNameData = *names;
    *CurHyoteiData = *ratings;
    ClassCountOfGrade = classCount;
}

void TfrmDispHyotei::fillFixedTexts() {
    sgrHyotei->setCell(0, 0, "教科");
    sgrHyotei->setCell(1, 0, "評定");
    for (int row = 1; row <= kSubjects; ++row) sgrHyotei->setCell(0, row, ToQString(KyokaNames[kRowSubjects[row - 1]]));
    for (int s = 0; s < kSubjects; ++s) {
        StringGrid *grid = kantenGrids_[s];
        grid->setColWidth(0, 150);
        grid->setColWidth(1, 40);
        grid->setCell(0, 0, "観点項目");
        grid->setCell(1, 0, "評価");
        for (int item = 0; item < 6; ++item) grid->setCell(0, item + 1, ToQString(CurKantenData->Koumoku[s][item]));
    }
}

void TfrmDispHyotei::ShowStudent() {
    const int slot = SlotOf(curClass_, curNumber_);
    lblNo->setText(QString::number(SelectedGrade) + "年" + QString::number(curClass_) + "組" +
                   QString::number(curNumber_) + "番");
    lblNo->adjustSize();
    lblName->setText(ToQString(CurNameData->Names[slot]));
    lblName->adjustSize();

    const THyoteiRec *h = CurHyoteiData->Hyotei[slot];
    for (int row = 1; row <= kSubjects; ++row) {
        const int j = kRowSubjects[row - 1];
        const std::uint8_t rating = h[j + 1].Rating;
        sgrHyotei->setCell(1, row, rating == THyoteiData::kEmpty ? QString() : FullWidthOf(std::to_string(rating)));
    }
    for (int j = 0; j < kSubjects; ++j)
        for (int item = 1; item <= 6; ++item) {
            const std::uint8_t mark = h[j + 1].Kanten[item];
            kantenGrids_[j]->setCell(
                1, item,
                mark == THyoteiData::kEmpty ? QString() : FullWidthOf(std::string(1, static_cast<char>(mark))));
        }
}

void TfrmDispHyotei::sbtNumberDownClick() {
    if (curClass_ < ClassCountOfGrade) {
        if (curNumber_ < kNumbers) {
            ++curNumber_;
        } else {
            ++curClass_;
            curNumber_ = 1;
        }
    } else if (curClass_ == ClassCountOfGrade && curNumber_ < kNumbers) {
        ++curNumber_;
    }
    ShowStudent();
}

void TfrmDispHyotei::sbtNumberUpClick() {
    if (curClass_ > 1) {
        if (curNumber_ > 1) {
            --curNumber_;
        } else {
            --curClass_;
            curNumber_ = kNumbers;
        }
    } else if (curClass_ == 1 && curNumber_ > 1) {
        --curNumber_;
    }
    ShowStudent();
}

void TfrmDispHyotei::sbtClassDownClick() {
    if (curClass_ < ClassCountOfGrade) ++curClass_;
    ShowStudent();
}

void TfrmDispHyotei::sbtClassUpClick() {
    if (curClass_ > 1) --curClass_;
    ShowStudent();
}

TfrmDispTutihyo::TfrmDispTutihyo(QWidget *parent)
    : TfrmDispHyotei({"frmDispTutihyo", "通知票（評定・観点）", Qt::white, TKantenData::kTermWorkbook, 0}, parent) {}

}  // namespace dorv
