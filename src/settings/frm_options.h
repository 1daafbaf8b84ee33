// The options dialog: 30 media directory boxes with their ".." buttons, the
// list font size and the exit confirmation.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/form.h"

namespace vollo {

class AppContext;

class FrmOptions : public Form {
  public:
    static constexpr int kDirCount = 30;

    FrmOptions(FormRegistry& registry, AppContext& app);

    Label& Label2;
    Label& Label3;
    std::array<TextBox*, kDirCount> mDir{};
    std::array<CommandButton*, kDirCount> cmdBrowse{};
    CommandButton& cmdApply;
    CommandButton& cmdCancel;
    Label& Label1;
    TextBox& txtFontSize;
    CheckBox& chkConfirmExit;

    // The directory texts as the last OK wrote them ("" for an empty box).
    std::vector<std::string> appliedDirs = std::vector<std::string>(kDirCount);
    // Builds the library again from the directories OK has just written.
    std::function<void(const std::vector<std::string>& dirs)> rescanLibrary;

    void Form_Load();
    void cmdApply_Click();
    void cmdCancel_Click();
    void cmdBrowse_Click(int index);

  private:
    AppContext& app_;
};

}  // namespace vollo
