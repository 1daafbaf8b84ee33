// The main window: its controls at their design places, its menus and the
// variables the subsystems share. The handlers belong to the subsystems,
// which app/ wires to it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "forms/app_context.h"
#include "forms/entry_key.h"
#include "forms/library_keys.h"
#include "forms/shuffle_history.h"
#include "platform/form.h"
#include "platform/text_column.h"

namespace vollo {

class FrmMain : public Form {
  public:
    FrmMain(FormRegistry& registry, AppContext& context);

    AppContext& context() { return context_; }
    MediaPlayer& music() { return context_.music(); }

    // Library column.
    Label& lblSongLibrary;  // Label1(1)
    Label& lblFirstTime;
    Frame& frmMiniKeyboard;
    std::array<CommandButton*, 28> cmdAlpha{};
    ListBox& hiddenSongList;
    ListBox& visibleSongList;
    Label& lblFilter;  // Label1(0)
    TextBox& txtFilter;
    CommandButton& cmdAdd;
    // Playlist column.
    Label& lblPlaylist;  // Label1(2)
    ListBox& playList;
    CommandButton& cmdMoveToTop;
    CommandButton& cmdMoveUp;
    CommandButton& cmdMoveDown;
    CommandButton& cmdMoveToBottom;
    CommandButton& cmdRemove;
    // Player panel (positions relative to Frame1).
    Frame& Frame1;
    Label& lblSongName;
    Label& lblSongTime;
    CommandButton& cmdPlay;
    CommandButton& cmdPause;
    CommandButton& cmdStop;
    Picture& tracker;
    Picture& trackee;
    Picture& volume;
    Picture& volumeTrackee;
    CheckBox& shuffle;
    CheckBox& repeat;
    // Never shown.
    ListBox& hiddenSongListInfo;
    ListBox& playListInfo;
    ListBox& alphaSorter;
    Timer& mainTimer;
    FileDialog& cmnPlaylist;
    // Menus, in order.
    MenuEntry& mnuFile;
    MenuEntry& mnuOptions;
    MenuEntry& mnuSearch;
    MenuEntry& mnuDivider;
    MenuEntry& mnuExit;
    MenuEntry& mnuView;
    MenuEntry& mnuShowFilter;
    MenuEntry& mnuKeyboard;
    MenuEntry& mnuPlaylist;
    MenuEntry& mnuNewPlaylist;
    MenuEntry& mnuOpenPlaylist;
    MenuEntry& mnuSavePlaylist;
    MenuEntry& mnuDivider2;
    MenuEntry& mnuSortPlaylist;
    MenuEntry& mnuHelp;
    MenuEntry& mnuAbout;
    std::vector<MenuEntry*> menuBar;

    // Playback variables.
    std::int32_t currentSong = 0;
    bool userStopped = false;
    ShuffleHistory shuffleHistory;
    // Directories read from "vollo.ini" at start-up (101 slots).
    std::vector<std::string> mediaDirs = std::vector<std::string>(101);
    // The library's entry keys, parallel to hiddenSongList (hiddenSongListInfo
    // shows their text forms, from the same buffer), and the lower-cased
    // titles the filter searches.
    LibraryKeys libraryKeys;
    TextColumn libraryLowerTitles;
    // Slot k: the key of row k of visibleSongList; grows, never shrinks.
    VisibleKeys visibleSongListInfo;

    // Appends one playlist entry: the path to playListInfo, then the title to playList.
    void appendToPlaylist(const std::string& title, const std::string& path);

  private:
    void layout();
    void registerVariables();

    AppContext& context_;
};

}  // namespace vollo
