// vollo-scenario FILE...: runs each scenario file in a fresh sandbox and ends
// with "N passed, N failed"; exit status 0 only when all passed.
#include <iostream>

#include "platform/text.h"
#include "scenario_runner.h"

int main(int argc, char** argv) {
    vollo::initLocale();
    int passed = 0;
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        if (vollo::scenario::runScenarioFile(argv[i], std::cout)) {
            ++passed;
        } else {
            ++failed;
        }
    }
    std::cout << passed << " passed, " << failed << " failed" << std::endl;
    return failed == 0 && passed > 0 ? 0 : 1;
}
