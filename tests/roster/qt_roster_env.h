// What the roster's form tests add to the form tests' own support: running
// one modal opening of a form with the test's steps inside it.
#pragma once

#include "desktop/form.h"

#include <functional>

namespace rostertest {

// One opening of `form`: `steps` run once the modal loop is up; a form they
// leave open is closed afterwards; a form whose show step closes it runs
// none of them. Returns the form's result.
int OpenAndRun(dorv::Form &form, const std::function<void()> &steps);

}  // namespace rostertest
