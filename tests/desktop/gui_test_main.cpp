// Entry point of the form tests: one application object on the offscreen
// platform, with the fonts the forms name.
#include "desktop/application.h"
#include "desktop/fonts.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    dorv::DorvApplication app(argc, argv);
    dorv::InitDesktop();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
