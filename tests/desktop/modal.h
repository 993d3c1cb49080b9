// Drives a modal form in a test: `whileOpen` runs inside the form's modal
// loop; a form still open afterwards is closed so the test cannot hang.
#pragma once

#include "desktop/form.h"

#include <QtTest/qtestspontaneevent.h>
#include <QCloseEvent>
#include <QTimer>

#include <functional>

namespace dorv::testing {

struct ModalRun {
    int result = 0;
    bool wasOpen = false;   // the action ran inside the modal loop
    bool leftOpen = false;  // the action did not close the form
};

inline ModalRun RunModal(Form &form, const std::function<void()> &whileOpen) {
    ModalRun run;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &form, [&] {
        // Events also flow while the show step waits; the action is for the
        // modal loop only.
        if (!form.isRunning()) {
            timer.start(5);
            return;
        }
        run.wasOpen = form.isVisible();
        whileOpen();
        if (form.isVisible()) {
            run.leftOpen = true;
            QTimer::singleShot(0, &form, [&form] { form.done(0); });
        }
    });
    timer.start(0);
    run.result = form.run();
    timer.stop();
    return run;
}

// The close request of the window manager (the title bar's close box or
// its keyboard equivalent): it reaches the form as a spontaneous close.
inline void WindowManagerClose(QWidget &window) {
    QCloseEvent close;
    QSpontaneKeyEvent::setSpontaneous(&close);
    // Straight to the handler: sendEvent() would clear the spontaneous mark.
    static_cast<QObject &>(window).event(&close);
}

}  // namespace dorv::testing
