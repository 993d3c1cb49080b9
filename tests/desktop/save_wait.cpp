#include "save_wait.h"

#include "desktop/string_grid.h"
#include "dialogs/DorvInputWait.h"
#include "held_lock.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace dorv::testing {

namespace {

QAbstractButton *buttonOf(QWidget &form, const QString &caption) {
    for (QAbstractButton *b : form.findChildren<QAbstractButton *>())
        if (b->text() == caption && b->isVisible() && b->isEnabled()) return b;
    return nullptr;
}

QWidget *focusOf(QWidget &form) {
    QWidget *focus = QApplication::focusWidget();
    return focus && form.isAncestorOf(focus) ? focus : &form;
}

}  // namespace

bool ClickButton(QWidget &form, const QString &caption) {
    QAbstractButton *b = buttonOf(form, caption);
    if (!b) return false;
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
    return true;
}

std::vector<UserAction> UserActionsOn(QWidget &form) {
    std::vector<UserAction> actions;
    for (QAbstractButton *b : form.findChildren<QAbstractButton *>()) {
        if (!b->isVisible() || !b->isEnabled() || b->text().isEmpty()) continue;
        const QString caption = b->text();
        actions.push_back({"button " + caption.toStdString(), [caption](QWidget &f) { ClickButton(f, caption); }});
    }
    actions.push_back({"Escape", [](QWidget &f) { QTest::keyClick(focusOf(f), Qt::Key_Escape); }});
    actions.push_back({"Enter", [](QWidget &f) { QTest::keyClick(focusOf(f), Qt::Key_Return); }});
    actions.push_back({"typing", [](QWidget &f) {
                           QTest::keyClicks(focusOf(f), "9A");
                           QTest::keyClick(focusOf(f), Qt::Key_Return);
                       }});
    const auto grids = form.findChildren<StringGrid *>();
    for (int i = 0; i < grids.size(); ++i) {
        if (!grids[i]->isVisible()) continue;
        const QString name = grids[i]->objectName();
        actions.push_back(
            {"click into " + (name.isEmpty() ? "grid " + std::to_string(i + 1) : name.toStdString()), [i](QWidget &f) {
                 const auto all = f.findChildren<StringGrid *>();
                 if (i >= all.size()) return;
                 StringGrid *g = all[i];
                 const QRect cell = g->cellRect(g->fixedCols(), g->fixedRows() + 1);
                 QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
                 QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, cell.center());
             }});
    }
    actions.push_back({"window manager close", [](QWidget &f) {
                           if (QWindow *w = f.window()->windowHandle()) w->close();
                       }});
    return actions;
}

WaitRun SaveThroughAWait(TfrmWait &wait, LockHeldElsewhere &lock, const std::function<void()> &save,
                         const std::function<void()> &during) {
    WaitRun run;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (run.waited || !wait.isVisible() || !wait.lblWaitFor->isVisible()) return;
        run.waited = true;
        run.notice = wait.lblWaitFor->text();
        during();
        run.actedInside = wait.lblWaitFor->isVisible();
        // Whatever the action queued has had its chance before the other
        // writer lets go.
        QTimer::singleShot(100, [&lock] { lock.release(); });
    });
    poll.start(5);
    // A save that never waits must not wait for ever either.
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [&lock] { lock.release(); });
    giveUp.start(5000);
    save();
    poll.stop();
    giveUp.stop();
    lock.release();
    return run;
}

}  // namespace dorv::testing
