#include "playlist/playlist_files.h"

#include <string>
#include <utility>
#include <vector>

#include "forms/frm_main.h"
#include "platform/files.h"
#include "platform/text.h"
#include "playlist/m3u.h"

namespace vollo {

namespace {

// The entries a save left out, for the message: at most ten, each path shown
// on one line (line breaks and other control bytes as "?").
std::string leftOutText(const TextList& paths, const std::vector<size_t>& leftOut) {
    std::string text;
    for (size_t k = 0; k < leftOut.size() && k < 10; ++k) {
        std::string shown = displayText(paths[leftOut[k]]);
        for (char& c : shown) {
            if (static_cast<unsigned char>(c) < 0x20) {
                c = '?';
            }
        }
        text += "\r\n" + shown;
    }
    if (leftOut.size() > 10) {
        text += "\r\n(" + std::to_string(leftOut.size() - 10) + " more)";
    }
    return text;
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
        main_.context().msgBox("Could not open the playlist.\r\n\r\n" + fileName + ": " + reason,
                               MsgButtons::OK, "Vollo");
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
    // The question follows FileExist, hidden files included: a folder gets
    // none, and the save below then fails as any failed save does.
    if (isRegularFile(fileName) && main_.context().msgBox("A file by that name already exists. Overwrite?",
                                                          MsgButtons::YesNo, "Vollo") != MsgResult::Yes) {
        dialog.fileName = "";
        return;
    }
    // The new file replaces the old one only once it is complete. An entry no
    // playlist line can name (a line break in its name) is left out and said.
    std::string reason;
    std::vector<size_t> leftOut;
    const TextList& paths = main_.playListInfo.texts();
    if (!writeFileAtomic(fileName, writeM3uTexts(paths, absolutePath(fileName), &leftOut), &reason)) {
        main_.context().msgBox("Could not save the playlist.\r\n\r\n" + fileName + ": " + reason,
                               MsgButtons::OK, "Vollo");
        dialog.fileName = "";
        return;
    }
    if (!leftOut.empty()) {
        main_.context().msgBox(
            "Could not save every entry of the playlist.\r\n\r\n" + fileName +
                ": these files were left out, no playlist line can name them:" + leftOutText(paths, leftOut),
            MsgButtons::OK, "Vollo");
    }
}

}  // namespace vollo
