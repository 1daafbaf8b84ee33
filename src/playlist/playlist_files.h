// Opening and saving the playlist as an M3U file through cmnPlaylist.
#pragma once

namespace vollo {

class FrmMain;

class PlaylistFiles {
  public:
    explicit PlaylistFiles(FrmMain& main);
    void bind();

    void mnuOpenPlaylist_Click();
    void mnuSavePlaylist_Click();

  private:
    FrmMain& main_;
};

}  // namespace vollo
