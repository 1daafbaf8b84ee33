// "options.ini": the window state, twelve lines written at exit and read at
// start-up (font size box, confirm-exit box, the positions of four windows,
// the two View marks).
#pragma once

#include <optional>
#include <string>

namespace vollo {

class Application;

inline constexpr const char* kWindowStateFileName = "options.ini";

// Reads the file and applies each line right after reading it. A missing file
// (or one with no line) keeps the design values.
void restoreWindowState(Application& app);

// Writes the twelve lines (atomically); false when the file could not be written.
bool saveWindowState(Application& app);

// A line as a boolean: "True", "False" (any case) or a number (0 false);
// nothing for any other text.
std::optional<bool> parseBooleanLine(const std::string& line);

}  // namespace vollo
