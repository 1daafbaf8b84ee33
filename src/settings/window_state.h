// "options.ini": the window state, twelve lines written at exit and read at
// start-up (font size box, confirm-exit box, the positions of four windows,
// the two View marks).
#pragma once

#include <optional>
#include <string>

namespace vollo {

class AppContext;

inline constexpr const char* kWindowStateFileName = "options.ini";

// Which of the two View lines the file holds (their marks are set from them).
struct RestoredViewLines {
    bool filter = false;
    bool keyboard = false;
};

// Reads the file and applies each line right after reading it; the View
// lines only set their marks, and the caller makes the window follow them. A
// missing file (or one with no line) keeps the design values.
RestoredViewLines restoreWindowState(AppContext& app);

// Writes the twelve lines (atomically); false when the file could not be written.
bool saveWindowState(AppContext& app);

// A line as a boolean: "True", "False" (any case) or a number (0 false);
// nothing for any other text.
std::optional<bool> parseBooleanLine(const std::string& line);

}  // namespace vollo
