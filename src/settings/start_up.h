// Where the settings files live, decided from how the program was started.
// Started from a terminal they live in the current directory; the desktop
// entry passes kFromMenuArgument first, and then they live in the user's
// configuration folder. Nothing here changes the current directory.
#pragma once

#include <string>
#include <vector>

namespace vollo {

// The first argument of the desktop entry's command, before the song (%f).
inline constexpr const char* kFromMenuArgument = "--from-menu";

struct StartUp {
    // Absolute: where "vollo.ini" and "options.ini" live.
    std::string settingsDirectory;
    // The arguments the command-line rule reads (the media file first).
    std::vector<std::string> arguments;
};

// configHome and home are $XDG_CONFIG_HOME and $HOME ("" when unset). From the
// menu the folder is configHome + "/vollo", or home + "/.config/vollo" when
// configHome is not an absolute path; when neither is absolute, or started
// from a terminal, it is currentDirectory.
StartUp decideStartUp(std::vector<std::string> arguments, const std::string& currentDirectory,
                      const std::string& configHome, const std::string& home);

// Creates dir and any missing parent, each new one readable by its owner only.
bool makeSettingsDirectory(const std::string& dir);

}  // namespace vollo
