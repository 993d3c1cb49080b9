#include "desktop/form.h"

#include "desktop/error_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>

namespace dorv {

Form::Form(QWidget *parent) : QDialog(parent) {
    setBorder(Border::Dialog);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void Form::setBorder(Border border) {
    border_ = border;
    Qt::WindowFlags flags;
    switch (border) {
    case Border::Dialog: flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint; break;
    case Border::DialogMinimise:
        flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint;
        break;
    case Border::Sizeable:
        flags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                Qt::WindowCloseButtonHint;
        break;
    case Border::SizeableNoIcons: flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint; break;
    case Border::None: flags = Qt::Dialog | Qt::FramelessWindowHint; break;
    }
    setWindowFlags(flags);
}

void Form::setClientSize(int width, int height) {
    if (border_ == Border::Sizeable || border_ == Border::SizeableNoIcons) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        resize(width, height);
    } else {
        setFixedSize(width, height);
    }
}

void Form::setBackground(const QColor &colour) {
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
    setAutoFillBackground(true);
}

void Form::centreOnScreen() {
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void Form::clearDefaultButtons() {
    for (QPushButton *b : findChildren<QPushButton *>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
}

int Form::run() {
    clearDefaultButtons();
    closeRequested_ = false;
    setResult(0);
    RunGuarded([this] { formShow(); }, this);
    if (closeRequested_) return result();
    running_ = true;
    struct Reset {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{running_};
    return exec();
}

void Form::showAndPaint() {
    clearDefaultButtons();
    show();
    raise();
    repaint();
}

void Form::done(int result) {
    closeRequested_ = true;
    RunGuarded([this] { formClose(); }, this);
    QDialog::done(result);
}

void Form::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        if (cancelButton_ && cancelButton_->isEnabled()) cancelButton_->click();
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Not QDialog's: that would press a default button.
        QWidget::keyPressEvent(event);
        return;
    default: QDialog::keyPressEvent(event);
    }
}

void Form::closeEvent(QCloseEvent *event) {
    // Without a close box the title bar cannot close the form; the form's
    // own buttons (and the program) still can.
    if (event->spontaneous() && border_ != Border::Sizeable) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void Form::closeAsMainMenu(QCloseEvent *event, bool ending, const std::function<void()> &end) {
    if (!event->spontaneous()) {
        Form::closeEvent(event);
        return;
    }
    event->ignore();
    const QWidget *modal = QApplication::activeModalWidget();
    if (ending || (modal && modal != this)) return;
    end();
}

namespace colours {
QColor buttonFace() { return QApplication::palette().color(QPalette::Button); }
QColor window() { return QApplication::palette().color(QPalette::Base); }
QColor activeCaption() { return QApplication::palette().color(QPalette::Active, QPalette::Highlight); }
}  // namespace colours

void SetTextColour(QWidget *widget, const QColor &colour) {
    // The disabled colours stay the style's, so that a disabled control
    // looks disabled.
    QPalette p = widget->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::WindowText, colour);
        p.setColor(group, QPalette::ButtonText, colour);
        p.setColor(group, QPalette::Text, colour);
    }
    widget->setPalette(p);
}

void SetCaptionColour(QWidget *widget, const QColor &colour) {
    QPalette p = widget->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        p.setColor(group, QPalette::WindowText, colour);
    widget->setPalette(p);
}

}  // namespace dorv
