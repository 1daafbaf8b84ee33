// What the subsystems may ask of the application: the form registry (to
// touch a window by name), the services and the player, message boxes, the
// settings files' folder, and the two application-wide values. It knows no
// subsystem; the application in app/ builds on it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/form_registry.h"
#include "platform/media_player.h"

namespace vollo {

class FrmMain;

// Names of the windows in the registry.
inline constexpr const char* kFrmMain = "frmMain";
inline constexpr const char* kFrmOptions = "frmOptions";
inline constexpr const char* kFrmSearch = "frmSearch";
inline constexpr const char* kFrmBrowse = "frmBrowse";
inline constexpr const char* kFrmAbout = "frmAbout";

class AppContext {
  public:
    // startDirectory: where "vollo.ini" and "options.ini" live (absolute).
    AppContext(Services services, std::string startDirectory);
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    FormRegistry& forms() { return forms_; }
    Services& services() { return forms_.services(); }
    MediaPlayer& music() { return *forms_.services().music; }

    // The window of that name, created hidden (with its load step) when absent.
    template <class FormType>
    FormType& touch(const char* name) {
        return static_cast<FormType&>(forms_.touch(name));
    }
    FrmMain& frmMain();

    // A settings file's path in the start-up directory.
    std::string settingsPath(const std::string& fileName) const;

    MsgResult msgBox(const std::string& text, MsgButtons buttons = MsgButtons::OK,
                     const std::string& title = "Vollo") {
        return forms_.msgBox(text, buttons, title);
    }

    // Application-wide values.
    bool confirmExit = false;
    std::int16_t listFontSize = 0;

  protected:
    ~AppContext() = default;

  private:
    FormRegistry forms_;
    std::string startDirectory_;
};

}  // namespace vollo
