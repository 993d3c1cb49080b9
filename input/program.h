// The program block of the entry program: creates every form once, refuses
// to start beside a running spreadsheet program, runs the main window and
// frees everything. Returns the process exit code.
#pragma once

namespace dorv {

int RunDorvInput();

}  // namespace dorv
