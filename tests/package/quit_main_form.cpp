// Preloaded (LD_PRELOAD) into an installed program started offscreen: once
// the program's main form waits for the user, prints its title and presses
// its 終了 button, so that the program ends as a teacher ends it. A message
// box on the way is printed and ends the program with code 3; no main form
// within a minute, code 4.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kPollMs = 50;
constexpr int kGiveUpMs = 60000;

void Print(const QString &line) {
    std::fputs((line + "\n").toUtf8().constData(), stdout);
    std::fflush(stdout);
}

void WatchForTheMainForm() {
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [timer, waited = 0]() mutable {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible()) {
                Print("message box: " + box->text());
                std::_Exit(3);
            }
        QWidget *form = QApplication::activeModalWidget();
        QPushButton *close = nullptr;
        if (form && form->isVisible())
            for (QPushButton *b : form->findChildren<QPushButton *>())
                if (b->text() == "終了" && b->isVisible() && b->isEnabled()) close = b;
        if (close) {
            timer->stop();
            // Every window on screen besides the main form would be left over.
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->isVisible() && w != form) Print("also on screen: " + w->windowTitle());
            Print("main form: " + form->windowTitle());
            close->click();
            return;
        }
        if ((waited += kPollMs) > kGiveUpMs) {
            Print("no main form");
            std::_Exit(4);
        }
    });
    timer->start(kPollMs);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(WatchForTheMainForm)
