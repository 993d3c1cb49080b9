#include "qt_roster_env.h"

#include <QTimer>

#include <gtest/gtest.h>

namespace rostertest {

int OpenAndRun(dorv::Form &form, const std::function<void()> &steps) {
    bool ran = false;  // a form whose show step fails never runs the steps
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ran = true;
        steps();
        if (form.isVisible()) form.done(-1);
    });
    timer.start(0);
    const int result = form.run();
    timer.stop();
    (void)ran;
    return result;
}

}  // namespace rostertest
