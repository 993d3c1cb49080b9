#include "dialogs/DorvInputWait.h"

#include "desktop/fonts.h"
#include "schooldata/access.h"

#include <QLabel>
#include <QProgressBar>

namespace dorv {

TfrmWait *frmWait = nullptr;

namespace {

constexpr int kClientWidth = 366;
constexpr int kClientHeight = 105;
constexpr int kWaitLineHeight = 24;

TfrmWait *noticeWindow = nullptr;

}  // namespace

TfrmWait::TfrmWait(QWidget *parent) : Form(parent) {
    setObjectName("frmWait");
    setWindowTitle("お知らせ");
    setBorder(Border::None);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setModal(false);
    setClientSize(kClientWidth, kClientHeight);
    setBackground(colours::teal);
    setCursor(Qt::WaitCursor);
    SetUiFont(this, kMsPGothic, 12);

    lblWait = new QLabel("しばらくお待ちください", this);
    lblWait->setObjectName("lblWait");
    SetUiFont(lblWait, kMsPGothic, 32, false, true);
    SetTextColour(lblWait, colours::window());
    lblWait->move(32, 16);
    lblWait->adjustSize();

    prbWait = new QProgressBar(this);
    prbWait->setObjectName("prbWait");
    prbWait->setGeometry(32, 72, 305, 16);
    prbWait->setRange(0, 100);
    prbWait->setValue(0);
    prbWait->setTextVisible(false);

    lblWaitFor = new QLabel(this);
    lblWaitFor->setObjectName("lblWaitFor");
    SetUiFont(lblWaitFor, kMsPGothic, 12);
    SetTextColour(lblWaitFor, colours::window());
    lblWaitFor->setAlignment(Qt::AlignCenter);
    lblWaitFor->setGeometry(8, kClientHeight - 8, kClientWidth - 16, kWaitLineHeight - 4);
    lblWaitFor->hide();

    noticeWindow = this;
    SetWaitNoticeHook([](const std::string &path) {
        if (noticeWindow) noticeWindow->showWaitingFor(path);
    });
}

TfrmWait::~TfrmWait() {
    if (noticeWindow != this) return;
    noticeWindow = nullptr;
    SetWaitNoticeHook({});
}

void TfrmWait::showWaitingFor(const std::string &path) {
    if (path.empty()) {
        lblWaitFor->hide();
        lblWaitFor->setToolTip(QString());
        setClientSize(kClientWidth, kClientHeight);
        if (shownForWait_) hide();
        shownForWait_ = false;
        return;
    }
    const QString file = QString::fromStdString(path);
    const QString name = file.section(QLatin1Char('/'), -1);
    const QString line = QStringLiteral("%1 が空くのを待っています").arg(name);
    // A long name gives way in its middle; the whole path is the tool tip.
    lblWaitFor->setText(lblWaitFor->fontMetrics().elidedText(line, Qt::ElideMiddle, lblWaitFor->width()));
    lblWaitFor->setToolTip(file);
    setClientSize(kClientWidth, kClientHeight + kWaitLineHeight);
    lblWaitFor->show();
    if (!isVisible()) {
        shownForWait_ = true;
        prbWait->setValue(0);
        showAndPaint();
        centreOnScreen();
    }
    repaint();
}

void TfrmWait::showBusy() {
    prbWait->setValue(0);
    showAndPaint();
    centreOnScreen();
}

void TfrmWait::setProgress(int percent) {
    prbWait->setValue(percent);
    prbWait->repaint();
}

void TfrmWait::hideBusy() { hide(); }

BusyScope::BusyScope(TfrmWait *wait) : wait_(wait) {
    if (wait_) wait_->showBusy();
}

BusyScope::~BusyScope() {
    if (wait_) wait_->hideBusy();
}

void BusyScope::progress(int percent) {
    if (wait_) wait_->setProgress(percent);
}

}  // namespace dorv
