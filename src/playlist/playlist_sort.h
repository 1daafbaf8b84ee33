// Sorting the playlist alphabetically by title, then path; the current entry
// stays current at its new place.
#pragma once

namespace vollo {

class FrmMain;

class PlaylistSort {
  public:
    explicit PlaylistSort(FrmMain& main);
    void bind();

    void mnuSortPlaylist_Click();

  private:
    FrmMain& main_;
};

}  // namespace vollo
