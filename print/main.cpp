#include "print/program.h"

#include "desktop/application.h"

int main(int argc, char **argv) {
    dorv::DorvApplication app(argc, argv);
    dorv::InitDesktop();
    return dorv::RunDorvPrint();
}
