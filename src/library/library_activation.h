// Library lists: keys typed into them edit the filter; double-click, Enter and
// the Add button append the selected songs to the playlist.
#pragma once

#include <functional>

namespace vollo {

class FrmMain;
class ListBox;

class LibraryActivation {
  public:
    explicit LibraryActivation(FrmMain& main);
    void bind();

    void hiddenSongList_DblClick();
    void visibleSongList_DblClick();
    void hiddenSongList_KeyDown(int keyCode, int shift);
    void visibleSongList_KeyDown(int keyCode, int shift);
    void cmdAdd_Click();
    // The timer's step: Add is enabled while the shown library list has a selection.
    void updateAddButton();

    // Starts a new shuffle pass; Add runs it while shuffle is on.
    std::function<void()> startShufflePass;

  private:
    // Row r of the full library (fullLibrary) or of the filtered view to the playlist.
    void addRow(bool fullLibrary, int row);
    void addSelectedRows(bool fullLibrary);
    void listKeyDown(bool fullLibrary, int keyCode);
    ListBox& list(bool fullLibrary);

    FrmMain& main_;
};

}  // namespace vollo
