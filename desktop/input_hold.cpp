#include "desktop/input_hold.h"

#include <QCoreApplication>
#include <QEvent>

namespace dorv {

UserInputHold::UserInputHold() {
    if (QCoreApplication *app = QCoreApplication::instance()) app->installEventFilter(this);
}

UserInputHold::~UserInputHold() {
    if (QCoreApplication *app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool UserInputHold::isUserInput(const QEvent &event) {
    switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    // A window's close comes the same way whether the window manager or
    // close() asks for it; the program itself closes no window while it
    // waits (its forms end with done(), which hides them).
    case QEvent::Close: return true;
    default: return false;
    }
}

bool UserInputHold::eventFilter(QObject *, QEvent *event) {
    if (!isUserInput(*event)) return false;
    // An accepted close event would still close the window it was meant for.
    event->ignore();
    return true;
}

}  // namespace dorv
