#include "playlist/playlist_editor.h"

#include <algorithm>
#include <string>
#include <vector>

#include "forms/frm_main.h"
#include "platform/key_codes.h"
#include "playlist/playlist_edits.h"
#include "playlist/playlist_files.h"

namespace vollo {

PlaylistEditor::PlaylistEditor(FrmMain& main, PlaylistFiles& files)
    : main_(main),
      files_(files) {}

void PlaylistEditor::bind() {
    main_.on("cmdRemove_Click", [this](EventArgs&) { cmdRemove_Click(); });
    main_.on("cmdMoveUp_Click", [this](EventArgs&) { cmdMoveUp_Click(); });
    main_.on("cmdMoveDown_Click", [this](EventArgs&) { cmdMoveDown_Click(); });
    main_.on("cmdMoveToTop_Click", [this](EventArgs&) { cmdMoveToTop_Click(); });
    main_.on("cmdMoveToBottom_Click", [this](EventArgs&) { cmdMoveToBottom_Click(); });
    main_.on("playList_KeyDown", [this](EventArgs& e) {
        playList_KeyDown(static_cast<int>(e.number(0)), static_cast<int>(e.number(1)));
    });
    main_.on("mnuNewPlaylist_Click", [this](EventArgs&) { mnuNewPlaylist_Click(); });
}

void PlaylistEditor::apply(const EditPlan& plan) {
    main_.currentSong = plan.currentSong;
    if (!plan.changed) {
        return;
    }
    const int top = main_.playList.topIndex();
    // The entries move as places in the lists' buffers; no text is copied.
    TextList titles = main_.playList.texts().picked(plan.order);
    TextList paths = main_.playListInfo.texts().picked(plan.order);
    main_.playList.assignTexts(std::move(titles));
    main_.playListInfo.assignTexts(std::move(paths));
    main_.playList.setSelection(plan.selection);
    // The view stays where the user was looking.
    if (main_.playList.listCount() > 0) {
        main_.playList.setTopIndex(std::min(top, main_.playList.listCount() - 1));
    }
}

void PlaylistEditor::cmdRemove_Click() {
    // The player is not touched: a removed song that plays plays on.
    apply(planRemove(main_.playList.selectionFlags(), main_.currentSong));
}

void PlaylistEditor::cmdMoveUp_Click() {
    apply(planMoveUp(main_.playList.selectionFlags(), main_.currentSong));
    main_.shuffleHistory.clear();
}

void PlaylistEditor::cmdMoveDown_Click() {
    apply(planMoveDown(main_.playList.selectionFlags(), main_.currentSong));
    main_.shuffleHistory.clear();
}

void PlaylistEditor::cmdMoveToTop_Click() {
    apply(planMoveToTop(main_.playList.selectionFlags(), main_.currentSong));
    main_.shuffleHistory.clear();
}

void PlaylistEditor::cmdMoveToBottom_Click() {
    apply(planMoveToBottom(main_.playList.selectionFlags(), main_.currentSong));
    main_.shuffleHistory.clear();
}

void PlaylistEditor::playList_KeyDown(int keyCode, int) {
    if (keyCode == vk::kDelete) {
        cmdRemove_Click();
    }
}

void PlaylistEditor::mnuNewPlaylist_Click() {
    if (main_.playList.listCount() == 0) {
        return;
    }
    switch (main_.context().msgBox("Do you want to save the current playlist?", MsgButtons::YesNoCancel,
                                   "Vollo")) {
        case MsgResult::Yes:
            files_.mnuSavePlaylist_Click();
            if (main_.cmnPlaylist.fileName.empty()) {
                return;  // nothing was written: the playlist stays
            }
            break;
        case MsgResult::No:
            break;
        default:
            return;
    }
    // currentSong, shuffleHistory and the player keep their state.
    main_.playList.clear();
    main_.playListInfo.clear();
}

void PlaylistEditor::updateEditButtons() {
    CommandButton* const buttons[] = {&main_.cmdMoveUp, &main_.cmdMoveDown, &main_.cmdMoveToTop,
                                      &main_.cmdMoveToBottom, &main_.cmdRemove};
    // cmdMoveUp stands for all five: they change only when it disagrees with the selection.
    const bool enable = main_.playList.selCount() >= 1;
    if (main_.cmdMoveUp.enabled() == enable) {
        return;
    }
    for (CommandButton* button : buttons) {
        button->setEnabled(enable);
    }
}

}  // namespace vollo
