// What the roster's form tests add to the form tests' own support: running
// one modal opening of a form with the test's steps inside it.
#pragma once

#include "desktop/form.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace dorv {
class TfrmDorvName;
class TfrmNameEdit;
class TfrmVersion;
}  // namespace dorv

namespace rostertest {

// One opening of `form`: `steps` run once the modal loop is up; a form they
// leave open is closed afterwards; a form whose show step closes it runs
// none of them. Returns the form's result.
int OpenAndRun(dorv::Form &form, const std::function<void()> &steps);

// The roster program's three forms as its main() sets them up, started from
// `root`, where a Dorv.INI names `root` as the data folder and a school.
// The settings file and the program folder's source go with it.
class NameProgram {
public:
    explicit NameProgram(const std::filesystem::path &root);
    ~NameProgram();
    NameProgram(const NameProgram &) = delete;
    NameProgram &operator=(const NameProgram &) = delete;

    std::string exeDir() const { return exeDir_; }

    std::unique_ptr<dorv::TfrmDorvName> main;
    std::unique_ptr<dorv::TfrmNameEdit> editor;
    std::unique_ptr<dorv::TfrmVersion> version;

private:
    std::string exeDir_;
};

}  // namespace rostertest
