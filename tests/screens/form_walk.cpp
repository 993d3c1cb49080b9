#include "form_walk.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSet>
#include <QTimer>

#include <memory>

namespace dorv::testing {

namespace {

constexpr int kPollMs = 5;
constexpr qint64 kStallMs = 60000;

struct WalkState {
    explicit WalkState(const std::vector<WalkStep> &s) : steps(s) {}
    const std::vector<WalkStep> &steps;
    std::size_t next = 0;
    // Forms whose step is still running (a click that opened a nested
    // modal form, or that is loading): not ready for the next step.
    QSet<Form *> busy;
    QElapsedTimer clock;
    bool finished = false;
};

void Poll(const std::shared_ptr<WalkState> &state) {
    if (state->finished) return;
    QTimer::singleShot(kPollMs, qApp, [state] { Poll(state); });
    auto *form = qobject_cast<Form *>(QApplication::activeModalWidget());
    if (!form || !form->isRunning() || !form->isVisible() || state->busy.contains(form)) return;
    const bool stalled = state->clock.elapsed() > kStallMs;
    if (state->next >= state->steps.size() || stalled) {
        form->done(0);
        return;
    }
    const WalkStep &step = state->steps[state->next];
    if (form->objectName() != step.window) return;
    ++state->next;
    state->busy.insert(form);
    step.act(*form);
    state->busy.remove(form);
}

}  // namespace

int Walk(Form &first, const std::vector<WalkStep> &steps) {
    auto state = std::make_shared<WalkState>(steps);
    state->clock.start();
    QTimer::singleShot(0, qApp, [state] { Poll(state); });
    first.run();
    state->finished = true;
    return static_cast<int>(state->next);
}

}  // namespace dorv::testing
