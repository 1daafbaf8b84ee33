#include "library/dropped_files.h"

#include "forms/frm_main.h"
#include "library/file_names.h"
#include "library/library_scan.h"
#include "platform/files.h"

namespace vollo {

bool isPlayableFile(const std::string& path) {
    return isPlayableName(TrimPath(path), true) && isRegularFile(path);
}

void appendDroppedFiles(FrmMain& main, const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        if (isPlayableFile(path)) {
            const std::string name = TrimPath(path);
            main.appendToPlaylist(name.substr(0, name.size() - 4), path);
        } else if (isDirectory(path)) {
            const std::string dir = path.back() == '/' ? path : path + "/";
            const ScannedLibrary found = scanDirectories({dir}, true);
            for (std::size_t row = 0; row < found.size(); ++row) {
                main.appendToPlaylist(std::string(found.title(row)), dir + std::string(found.file(row)));
            }
        }
    }
}

}  // namespace vollo
