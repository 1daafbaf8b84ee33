// Linked into the unit tests: a handler that throws inside a dispatched event
// fails the test that dispatched it.
#include <gtest/gtest.h>

#include "platform/form_registry.h"

namespace {

const bool installed = [] {
    vollo::FormRegistry::setFailureSink(
        [](const std::string& what) { ADD_FAILURE() << "a handler failed: " << what; });
    return true;
}();

}  // namespace
