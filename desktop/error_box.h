// Errors that escape an event handler: Qt cannot carry an exception through
// its event loop, so every handler runs inside a guard that shows the error
// box with the message and lets the program go on.
#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <utility>

class QWidget;

namespace dorv {

// The error box's text: the message with "." appended unless it already
// ends in a full stop ("." or "。").
QString ErrorBoxText(const QString &message);

// Shows the error box for the exception in flight (call from a catch block).
void ShowCurrentError(QWidget *parent = nullptr);

// Runs `handler`; an exception it raises is shown in the error box and
// swallowed. Returns false when it raised.
bool RunGuarded(const std::function<void()> &handler, QWidget *parent = nullptr);

// A handler for connect() that runs `handler` under the guard.
template <class F>
auto Guarded(F handler, QWidget *parent = nullptr) {
    return [handler = std::move(handler), parent](auto &&...) { RunGuarded(handler, parent); };
}

}  // namespace dorv
