// A walk through a program as a user clicks through it: each step waits
// until its window is the open modal form and not busy with an earlier
// step's click, then acts on it. Windows the steps leave open are closed
// from the innermost outwards, and a walk that stalls is cut short.
#pragma once

#include "desktop/form.h"

#include <QString>

#include <functional>
#include <vector>

namespace dorv::testing {

struct WalkStep {
    QString window;  // object name of the modal form the step acts on
    std::function<void(Form &)> act;
};

// Runs `first` modally with the steps inside it; returns how many steps ran.
int Walk(Form &first, const std::vector<WalkStep> &steps);

}  // namespace dorv::testing
