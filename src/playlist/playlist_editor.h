// Playlist editing: remove, the four moves, the Delete key and the new-playlist
// command, each keeping currentSong on its song.
#pragma once

namespace vollo {

class FrmMain;
class PlaylistFiles;
struct EditPlan;

class PlaylistEditor {
  public:
    PlaylistEditor(FrmMain& main, PlaylistFiles& files);
    void bind();

    void cmdRemove_Click();
    void cmdMoveUp_Click();
    void cmdMoveDown_Click();
    void cmdMoveToTop_Click();
    void cmdMoveToBottom_Click();
    void playList_KeyDown(int keyCode, int shift);
    void mnuNewPlaylist_Click();
    // The timer's step: the five edit buttons are enabled while the playlist has a selection.
    void updateEditButtons();

  private:
    // Rebuilds both lists in the plan's order with its selection and sets currentSong.
    void apply(const EditPlan& plan);

    FrmMain& main_;
    PlaylistFiles& files_;
};

}  // namespace vollo
