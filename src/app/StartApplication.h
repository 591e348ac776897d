#pragma once

namespace wyk {

// Creates the main window, the configuration dialog and the spectrum window in this order,
// then runs the event loop. An error during start-up is shown and ends the program.
int StartApplication(int argc, char** argv);

}  // namespace wyk
