// The application object of every program and the start-up of the desktop
// layer.
#pragma once

#include <QApplication>

namespace dorv {

class DorvApplication : public QApplication {
public:
    DorvApplication(int &argc, char **argv);

    // The last guard, for handlers that were connected without one.
    bool notify(QObject *receiver, QEvent *event) override;

    // True once the application has been asked to quit; stays true.
    static bool quitRequested();

protected:
    bool event(QEvent *event) override;
};

// Font substitutes, the event pump of the waiting helper, and the login and
// host names taken from Services(). Call once, after the application object
// exists.
void InitDesktop();

// What the waiting helper runs while it waits: processes pending events
// (paints, timers; the user's input is swallowed); true when a quit has
// been asked for.
bool PumpEventsOnce();

}  // namespace dorv
