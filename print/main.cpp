#include "print/dorv_print_program.h"

#include "schooldata/desktop/application.h"

int main(int argc, char **argv) {
    dorv::DorvApplication app(argc, argv);
    dorv::InitDesktop();
    return dorv::RunDorvPrint();
}
