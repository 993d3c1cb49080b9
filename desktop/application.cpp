#include "desktop/application.h"

#include "desktop/error_box.h"
#include "desktop/fonts.h"
#include "desktop/input_hold.h"
#include "desktop/services.h"

#include "schooldata/access.h"
#include "schooldata/settings.h"

#include <QEvent>

namespace dorv {

namespace {
bool quitAsked = false;
}

DorvApplication::DorvApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool DorvApplication::notify(QObject *receiver, QEvent *event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowCurrentError();
        return false;
    }
}

bool DorvApplication::event(QEvent *event) {
    if (event->type() == QEvent::Quit) quitAsked = true;
    return QApplication::event(event);
}

bool DorvApplication::quitRequested() { return quitAsked; }

bool PumpEventsOnce() {
    // The waits are those of a workbook operation: the forms whose data it
    // writes must not change or close meanwhile.
    UserInputHold hold;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return quitAsked;
}

void InitDesktop() {
    InstallFontSubstitutes();
    SetEventPumpHook(&PumpEventsOnce);
    SetLoginNameSource([] { return Services().loginName(); });
    SetHostNameSource([] { return Services().hostName(); });
}

}  // namespace dorv
