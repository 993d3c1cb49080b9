#include "modal.h"
#include "recording_services.h"

#include "desktop/application.h"
#include "desktop/error_box.h"
#include "desktop/fonts.h"
#include "desktop/form.h"
#include "schooldata/access.h"
#include "schooldata/convert.h"
#include "schooldata/settings.h"

#include <QElapsedTimer>
#include <QFontInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

#include <gtest/gtest.h>

#include <stdexcept>

namespace dorv {
namespace {

using testing::RecordingServices;
using testing::RunModal;

TEST(ErrorBox, MessageEndsInAFullStop) {
    const struct {
        QString message, shown;
    } cases[] = {
        {"'abc' は整数ではありません", "'abc' は整数ではありません."},
        {"保存できません.", "保存できません."},
        {"", "."},
        {"途中で終わった。", "途中で終わった。"},  // the Japanese full stop counts as one
        {"C4th変換を行えません。", "C4th変換を行えません。"},
        {"。で始まる", "。で始まる."},
    };
    for (const auto &c : cases) EXPECT_EQ(ErrorBoxText(c.message), c.shown) << c.message.toStdString();
}

TEST(ErrorBox, HandlerErrorIsShownAndTheFormGoesOn) {
    RecordingServices services;
    Form form;
    auto *edit = new QLineEdit(&form);
    auto *button = new QPushButton("入力  [ENTER]", &form);
    int stored = -1;
    QObject::connect(button, &QPushButton::clicked, &form,
                     Guarded([&] { stored = StrictInt(edit->text().toStdString()); }, &form));
    const auto run = RunModal(form, [&] {
        edit->setText("8５");
        button->click();
        edit->setText("85");
        button->click();
        // A handler connected without the guard is caught by the
        // application object.
        QTimer::singleShot(0, &form, [] { throw std::runtime_error("予期しない失敗"); });
        QTest::qWait(20);
    });
    EXPECT_TRUE(run.wasOpen);
    EXPECT_TRUE(run.leftOpen);  // the error closed nothing
    EXPECT_EQ(stored, 85);
    ASSERT_EQ(services.errors.size(), 2);
    EXPECT_EQ(services.errors[0], "'8５' は整数ではありません.");
    EXPECT_EQ(services.errors[1], "予期しない失敗.");
}

TEST(FormKeys, EscapePressesOnlyTheCancelButtonAndEnterNoButton) {
    RecordingServices services;
    Form form;
    auto *edit = new QLineEdit(&form);
    auto *save = new QPushButton("保存して終了", &form);
    auto *cancel = new QPushButton("保存しないで終了", &form);
    int saves = 0;
    QObject::connect(save, &QPushButton::clicked, &form, [&] {
        ++saves;
        form.accept();
    });
    QObject::connect(cancel, &QPushButton::clicked, &form, &Form::reject);
    save->setDefault(true);  // even a button marked default stays unpressed

    const auto withoutCancel = RunModal(form, [&] {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClick(&form, Qt::Key_Escape);
    });
    EXPECT_TRUE(withoutCancel.leftOpen);
    EXPECT_EQ(saves, 0);

    form.setCancelButton(cancel);
    const auto withCancel = RunModal(form, [&] {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Enter);
        QTest::keyClick(edit, Qt::Key_Escape);
    });
    EXPECT_FALSE(withCancel.leftOpen);
    EXPECT_EQ(withCancel.result, QDialog::Rejected);
    EXPECT_EQ(saves, 0);
}

TEST(FormRun, ShowStepRunsOnEveryOpeningAndMayEndItBeforeTheFormAppears) {
    struct Counting : Form {
        int shows = 0;
        bool closeInShow = false;
        bool visibleInShow = true;
        void formShow() override {
            ++shows;
            visibleInShow = isVisible();
            if (closeInShow) done(7);
        }
    } form;
    RunModal(form, [&] { form.accept(); });
    RunModal(form, [&] { form.accept(); });
    EXPECT_EQ(form.shows, 2);
    EXPECT_FALSE(form.visibleInShow);
    form.closeInShow = true;
    const auto run = RunModal(form, [] {});
    EXPECT_FALSE(run.wasOpen);
    EXPECT_EQ(run.result, 7);
    EXPECT_EQ(form.shows, 3);
}

TEST(Fonts, WindowsNamesResolveToTheIpaFontsAtPixelSizes) {
    const struct {
        QString name, family;
        int pixels;
    } cases[] = {
        {kMsMincho, "IPAMincho", 12},
        {kMsGothic, "IPAGothic", 12},
        {kMsPGothic, "IPAPGothic", 19},
        {kMsPMincho, "IPAPMincho", 32},
    };
    for (const auto &c : cases) {
        const QFontInfo info(UiFont(c.name, c.pixels));
        EXPECT_EQ(info.family(), c.family) << c.name.toStdString();
        EXPECT_EQ(info.pixelSize(), c.pixels) << c.name.toStdString();
    }
}

// During a wait nothing the user does reaches a window: a click, typing,
// a shortcut or the window manager's close. Timers and painting go on, and
// afterwards input works again.
TEST(PumpWait, HoldsTheUsersInputAwayFromEveryWindow) {
    QWidget window;
    auto *button = new QPushButton("保存して終了", &window);
    auto *edit = new QLineEdit(&window);
    edit->move(0, 40);
    int clicks = 0, shortcuts = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    QObject::connect(escape, &QShortcut::activated, [&] { ++shortcuts; });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    edit->setFocus();

    int painted = 0, fired = 0;
    struct Painting : QObject {
        int *count;
        bool eventFilter(QObject *, QEvent *e) override {
            if (e->type() == QEvent::Paint) ++*count;
            return false;
        }
    } painting;
    painting.count = &painted;
    window.installEventFilter(&painting);

    QTimer::singleShot(5, [&] {
        ++fired;
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        QTest::keyClicks(edit, "42");
        QTest::keyClick(edit, Qt::Key_Escape);
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::mouseDClick(edit, Qt::LeftButton);
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), {}, QPoint(0, 120), Qt::NoButton, {}, Qt::NoScrollPhase, true);
        QApplication::sendEvent(edit, &wheel);
        window.windowHandle()->close();
        window.update();
    });
    EXPECT_TRUE(PumpWait(100));
    EXPECT_EQ(fired, 1);
    EXPECT_GT(painted, 0);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(shortcuts, 0);
    EXPECT_EQ(edit->text(), "");
    EXPECT_TRUE(window.isVisible());

    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    QTest::keyClicks(edit, "42");
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(edit->text(), "42");

    window.windowHandle()->close();
    EXPECT_FALSE(window.isVisible());  // the same close reaches the window outside a wait
}

// Runs after every other wait of this file: the quit it asks for stays.
TEST(PumpWait, KeepsEventsFlowingAndEndsOnAQuitRequest) {
    int fired = 0;
    QTimer::singleShot(10, [&] { ++fired; });
    EXPECT_TRUE(PumpWait(100));
    EXPECT_EQ(fired, 1);

    // A quit asked for during the wait ends it early and stays pending for
    // the event loop.
    bool full = true;
    qint64 waited = 0;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(30, qApp, &QCoreApplication::quit);
        QElapsedTimer t;
        t.start();
        full = PumpWait(5000);
        waited = t.elapsed();
    });
    QCoreApplication::exec();
    EXPECT_FALSE(full);
    EXPECT_LT(waited, 2000);
    EXPECT_TRUE(DorvApplication::quitRequested());
}

TEST(Services, LoginAndHostNamesComeFromTheServices) {
    RecordingServices services;
    services.login = "00815";
    services.host = "MERIDOX";
    GetLoginStaffNo();
    EXPECT_EQ(LoginStaffNo, 402917);  // the developer computer's rule still applies
    services.host = "meridox";
    GetLoginStaffNo();
    EXPECT_EQ(LoginStaffNo, 815);
    services.login = "taro";
    GetLoginStaffNo();
    EXPECT_EQ(LoginStaffNo, 0);
}

}  // namespace
}  // namespace dorv
