#include "library/mini_keyboard.h"

#include "forms/frm_main.h"

namespace vollo {

MiniKeyboard::MiniKeyboard(FrmMain& main)
    : main_(main) {}

void MiniKeyboard::bind() {
    main_.on(
        "cmdAlpha_Click", [this](EventArgs& e) { cmdAlpha_Click(e.index); }, true);
    main_.on("mnuKeyboard_Click", [this](EventArgs&) { mnuKeyboard_Click(); });
}

void MiniKeyboard::cmdAlpha_Click(int index) {
    // A key replaces the whole filter text: "#", a capital letter, or "" for "*".
    if (index == 0) {
        main_.txtFilter.setText("#");
    } else if (index == 27) {
        main_.txtFilter.setText("");
    } else if (index > 0 && index < 27) {
        main_.txtFilter.setText(std::string(1, static_cast<char>(index + 64)));
    }
}

void MiniKeyboard::mnuKeyboard_Click() {
    const bool show = !main_.mnuKeyboard.checked();
    main_.mnuKeyboard.setChecked(show);
    main_.frmMiniKeyboard.setVisible(show);
}

}  // namespace vollo
