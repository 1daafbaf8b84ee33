#include "playlist/playlist_files.h"

#include <sys/stat.h>

#include <string>
#include <utility>

#include "app/frm_main.h"
#include "platform/files.h"
#include "playlist/m3u.h"

namespace vollo {

namespace {

// Anything at all stands at that name: hidden files, links and folders too,
// so a save never replaces something without asking.
bool somethingExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace

PlaylistFiles::PlaylistFiles(FrmMain& main)
    : main_(main) {}

void PlaylistFiles::bind() {
    main_.on("mnuOpenPlaylist_Click", [this](EventArgs&) { mnuOpenPlaylist_Click(); });
    main_.on("mnuSavePlaylist_Click", [this](EventArgs&) { mnuSavePlaylist_Click(); });
}

void PlaylistFiles::mnuOpenPlaylist_Click() {
    FileDialog& dialog = main_.cmnPlaylist;
    dialog.fileName = "";
    dialog.dialogTitle = "Open Playlist";
    dialog.showOpen();
    if (dialog.fileName.empty()) {
        return;
    }
    const std::string fileName = dialog.fileName;
    // The whole file is read before the playlist is replaced, so a file that
    // cannot be read leaves the playlist and currentSong as they were.
    std::string reason;
    const auto bytes = readFileBytes(fileName, &reason);
    if (!bytes) {
        main_.app().msgBox("Could not open the playlist.\r\n\r\n" + fileName + ": " + reason, MsgButtons::OK,
                           "Vollo");
        return;
    }
    M3uEntries entries = readM3u(*bytes, absolutePath(fileName));
    // The player, and so the song that plays, is left alone; so is shuffleHistory.
    main_.currentSong = -1;
    main_.playListInfo.assign(std::move(entries.paths));
    main_.playList.assign(std::move(entries.titles));
}

void PlaylistFiles::mnuSavePlaylist_Click() {
    FileDialog& dialog = main_.cmnPlaylist;
    dialog.fileName = "";
    dialog.dialogTitle = "Save playlist";
    dialog.showSave();
    if (dialog.fileName.empty()) {
        return;
    }
    const std::string fileName = dialog.fileName;
    if (somethingExists(fileName) && main_.app().msgBox("A file by that name already exists. Overwrite?",
                                                        MsgButtons::YesNo, "Vollo") != MsgResult::Yes) {
        dialog.fileName = "";
        return;
    }
    // The new file replaces the old one only once it is complete.
    std::string reason;
    if (!writeFileAtomic(fileName, writeM3u(main_.playListInfo.items(), absolutePath(fileName)), &reason)) {
        main_.app().msgBox("Could not save the playlist.\r\n\r\n" + fileName + ": " + reason, MsgButtons::OK,
                           "Vollo");
        dialog.fileName = "";
    }
}

}  // namespace vollo
