// The services on Qt: message boxes, file dialogs, starting programs, random
// numbers and ending the process.
#pragma once

#include <QString>
#include <cstdint>
#include <random>

#include "platform/services.h"

namespace vollo::qt {

class QtMessageBox : public MessageBoxService {
  public:
    // Modal, no icon; the text's CR LF line ends shown as line breaks.
    MsgResult show(const std::string& text, MsgButtons buttons, const std::string& title) override;
};

// Both dialogs start in the folder of the file chosen last in this run (the
// current directory before that) unless the request names a file.
class QtFileDialog : public FileDialogService {
  public:
    std::optional<std::string> open(const FileDialogRequest& request) override;
    // A name typed without an extension gets the filter's first one (".m3u").
    // The program asks its own overwrite question, so the dialog asks none.
    std::optional<std::string> save(const FileDialogRequest& request) override;

  private:
    std::optional<std::string> ask(const FileDialogRequest& request, bool save);
    QString lastFolder_;
};

// The extension a saved name gets from a filter: "m3u" for "Playlists|*.m3u";
// "" when the first pattern names no single extension.
QString defaultSuffix(const std::string& filter);

// "Playlists|*.m3u" as a Qt name filter: "Playlists (*.m3u)"; several pairs
// are joined with ";;".
QString nameFilter(const std::string& filter);

class QtProgramLauncher : public ProgramLauncher {
  public:
    std::optional<std::string> findOnPath(const std::string& name) override;
    bool start(const std::string& path) override;
};

class TimeSeededRandom : public RandomSource {
  public:
    void seedFromTime() override;
    // Uniform in [0, 1): 53 random bits.
    double next() override;

  private:
    std::mt19937_64 engine_{0x766f6c6c6fULL};
};

class QtProcessControl : public ProcessControl {
  public:
    // Leaves the event loop at once and hides every window; the registry
    // refuses every event from now on.
    void endProcess() override;
};

}  // namespace vollo::qt
