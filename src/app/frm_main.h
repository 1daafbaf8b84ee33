// The main window: its controls at their design places, its menus, the
// variables the subsystems share, and the subsystems that own its handlers.
// Start-up, shut-down and the View filter toggle live in shell.cpp.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "library/entry_key.h"
#include "library/library_scan.h"
#include "platform/form.h"
#include "playback/shuffle_history.h"

namespace vollo {

class LibraryFilter;
class LibraryActivation;
class MiniKeyboard;
class PlaylistEditor;
class PlaylistFiles;
class PlaylistSort;
class PlaybackController;
class SeekBar;
class VolumeBar;

class FrmMain : public Form {
  public:
    FrmMain(FormRegistry& registry, Application& app);
    ~FrmMain() override;

    Application& app() { return app_; }
    MediaPlayer& music() { return app_.music(); }

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
    // shows their text forms), and the lower-cased titles the filter searches.
    std::vector<EntryKey> libraryKeys;
    TextColumn libraryLowerTitles;
    // Slot k: the key of row k of visibleSongList; grows, never shrinks.
    std::vector<EntryKey> visibleSongListInfo;

    // Subsystems.
    LibraryFilter& libraryFilter() { return *libraryFilter_; }
    LibraryActivation& libraryActivation() { return *libraryActivation_; }
    MiniKeyboard& miniKeyboard() { return *miniKeyboard_; }
    PlaylistEditor& playlistEditor() { return *playlistEditor_; }
    PlaylistFiles& playlistFiles() { return *playlistFiles_; }
    PlaylistSort& playlistSort() { return *playlistSort_; }
    PlaybackController& playback() { return *playback_; }
    SeekBar& seekBar() { return *seekBar_; }
    VolumeBar& volumeBar() { return *volumeBar_; }

    // Appends one playlist entry: the path to playListInfo, then the title to playList.
    void appendToPlaylist(const std::string& title, const std::string& path);
    // Replaces the library (both lists and the key tables) with entries already in library order.
    void setLibrary(std::vector<std::string> titles, std::vector<EntryKey> keys);
    void setLibrary(ScannedLibrary library);

    // Start-up and shut-down (shell.cpp).
    void Form_Load();
    void mnuExit_Click();
    void Form_Unload(int& cancel);
    void SaveWindowState();
    void mnuShowFilter_Click();
    void mnuOptions_Click();
    // Applies a font size to the song and playlist lists; false, after the
    // "Invalid font size." message, when it lies outside 4..72.
    bool applyListFontSize(const std::string& fontText);

  private:
    void layout();
    void bindShell();
    void registerVariables();

    Application& app_;
    std::unique_ptr<LibraryFilter> libraryFilter_;
    std::unique_ptr<LibraryActivation> libraryActivation_;
    std::unique_ptr<MiniKeyboard> miniKeyboard_;
    std::unique_ptr<PlaylistEditor> playlistEditor_;
    std::unique_ptr<PlaylistFiles> playlistFiles_;
    std::unique_ptr<PlaylistSort> playlistSort_;
    std::unique_ptr<PlaybackController> playback_;
    std::unique_ptr<SeekBar> seekBar_;
    std::unique_ptr<VolumeBar> volumeBar_;
};

}  // namespace vollo
