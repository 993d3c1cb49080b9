// Entry point of the form tests: one application object on the offscreen
// platform, with the fonts the forms name.
#include "desktop/application.h"
#include "desktop/fonts.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

// CI and test discovery run without a desktop session, so no runtime folder is
// set and Qt would warn on every start; the tests get one of their own, made as
// Qt wants it (owned by the user, mode 0700).
void EnsureRuntimeFolder() {
    if (const char *set = std::getenv("XDG_RUNTIME_DIR"); set && *set) return;
    const std::string dir = "/tmp/dorv-test-runtime-" + std::to_string(::getuid());
    ::mkdir(dir.c_str(), 0700);
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) return;
    ::chmod(dir.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
}

}  // namespace

int main(int argc, char **argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    EnsureRuntimeFolder();
    dorv::DorvApplication app(argc, argv);
    dorv::InitDesktop();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
