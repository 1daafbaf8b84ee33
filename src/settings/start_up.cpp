#include "settings/start_up.h"

#include <sys/stat.h>

#include <cerrno>

namespace vollo {

namespace {

// "/a/b/" -> "/a/b"; "/" stays "/".
std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

std::string joined(const std::string& dir, const std::string& name) {
    return (dir == "/" ? "" : dir) + "/" + name;
}

}  // namespace

StartUp decideStartUp(std::vector<std::string> arguments, const std::string& currentDirectory,
                      const std::string& configHome, const std::string& home) {
    StartUp result{currentDirectory, std::move(arguments)};
    if (result.arguments.empty() || result.arguments.front() != kFromMenuArgument) {
        return result;
    }
    result.arguments.erase(result.arguments.begin());
    // Relative values of these variables are invalid and ignored.
    if (!configHome.empty() && configHome.front() == '/') {
        result.settingsDirectory = joined(withoutTrailingSlashes(configHome), "vollo");
    } else if (!home.empty() && home.front() == '/') {
        result.settingsDirectory = joined(joined(withoutTrailingSlashes(home), ".config"), "vollo");
    }
    return result;
}

bool makeSettingsDirectory(const std::string& dir) {
    struct stat info {};
    if (::stat(dir.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode);
    }
    const size_t slash = dir.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !makeSettingsDirectory(dir.substr(0, slash))) {
        return false;
    }
    return ::mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST;
}

}  // namespace vollo
