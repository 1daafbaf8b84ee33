// Running Vollo: the Qt application, the services, the media player, the
// windows shown through the Qt binding, and the event loop.
#pragma once

#include <functional>

namespace vollo {

class Application;

// Runs the program as `vollo ARG...` (argv) would and returns its exit status.
// shown, when given, runs once the main window is shown and the event loop
// has started.
int runProgram(int argc, char** argv, const std::function<void(Application&)>& shown = {});

}  // namespace vollo
