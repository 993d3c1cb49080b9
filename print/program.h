// The program block of the display and print program: creates every form
// once in the program's fixed order, runs the main window and frees
// everything. Returns the process exit code.
#pragma once

namespace dorv {

int RunDorvPrint();

}  // namespace dorv
