// The on-screen keyboard: 28 keys that set the filter text, shown and hidden
// from the View menu.
#pragma once

namespace vollo {

class FrmMain;

class MiniKeyboard {
  public:
    explicit MiniKeyboard(FrmMain& main);
    void bind();

    void cmdAlpha_Click(int index);
    void mnuKeyboard_Click();

  private:
    FrmMain& main_;
};

}  // namespace vollo
