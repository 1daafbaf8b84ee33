// The library filter: every change of the filter text rebuilds the filtered
// view from the full library (a case-insensitive title prefix, or "#" for
// titles beginning with a digit).
#pragma once

namespace vollo {

class FrmMain;
class LibraryActivation;

class LibraryFilter {
  public:
    LibraryFilter(FrmMain& main, LibraryActivation& activation);
    void bind();

    void txtFilter_Change();
    void txtFilter_KeyDown(int keyCode, int shift);

  private:
    FrmMain& main_;
    LibraryActivation& activation_;
};

}  // namespace vollo
