// Runs scenario files: each in a fresh sandbox folder that is also the
// current directory, driving the program's forms through their handlers with
// the simulated player and scripted dialogs.
#pragma once

#include <ostream>
#include <string>

namespace vollo::scenario {

// Runs one file; prints one line per failure to out; true when it passed.
bool runScenarioFile(const std::string& path, std::ostream& out);

}  // namespace vollo::scenario
