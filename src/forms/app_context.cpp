#include "forms/app_context.h"

#include "forms/frm_main.h"

namespace vollo {

AppContext::AppContext(Services services, std::string startDirectory)
    : forms_(services),
      startDirectory_(std::move(startDirectory)) {}

FrmMain& AppContext::frmMain() {
    return touch<FrmMain>(kFrmMain);
}

std::string AppContext::settingsPath(const std::string& fileName) const {
    return (startDirectory_ == "/" ? "" : startDirectory_) + "/" + fileName;
}

}  // namespace vollo
