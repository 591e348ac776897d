#pragma once
// The program's arguments as UTF-8, whatever the system's code page (Windows hands main its
// arguments in the ANSI code page, which loses Polish letters).

#include <string>
#include <vector>

namespace wyk {

// The arguments after the program's name.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace wyk
