// Services the forms use and tests replace: message boxes, file dialogs,
// the folders and file systems the directory picker shows, starting programs,
// random numbers, ending the process.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vollo {

enum class MsgButtons { OK, YesNo, YesNoCancel };
enum class MsgResult { OK, Yes, No, Cancel };

class MessageBoxService {
  public:
    virtual ~MessageBoxService() = default;
    // Modal; returns the button pressed.
    virtual MsgResult show(const std::string& text, MsgButtons buttons, const std::string& title) = 0;
};

struct FileDialogRequest {
    std::string title;
    std::string fileName;  // initial name
    std::string filter;    // "Playlists|*.m3u"
};

class FileDialogService {
  public:
    virtual ~FileDialogService() = default;
    // Modal; the chosen path, or nothing when cancelled.
    virtual std::optional<std::string> open(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> save(const FileDialogRequest& request) = 0;
};

class FolderService {
  public:
    virtual ~FolderService() = default;
    // True when path names a directory (links followed).
    virtual bool isDirectory(const std::string& path) = 0;
    // The names of the folders directly inside dir, in the order the list shows them.
    virtual std::vector<std::string> subdirectories(const std::string& dir) = 0;
    // The root "/" and the mounted file systems.
    virtual std::vector<std::string> mountPoints() = 0;
};

// The machine's own folders and mount table.
class LocalFolders : public FolderService {
  public:
    bool isDirectory(const std::string& path) override;
    std::vector<std::string> subdirectories(const std::string& dir) override;
    std::vector<std::string> mountPoints() override;
};

class ProgramLauncher {
  public:
    virtual ~ProgramLauncher() = default;
    // The full path of a program found on the search path.
    virtual std::optional<std::string> findOnPath(const std::string& name) = 0;
    // Starts the program detached; false when it could not be started.
    virtual bool start(const std::string& path) = 0;
};

class RandomSource {
  public:
    virtual ~RandomSource() = default;
    // Seeds from the time of day.
    virtual void seedFromTime() = 0;
    // Uniform in [0, 1).
    virtual double next() = 0;
};

class ProcessControl {
  public:
    virtual ~ProcessControl() = default;
    // Ends the process at once: no further window events run.
    virtual void endProcess() = 0;
};

class MediaPlayer;

// Everything injected into the application. Not owned.
struct Services {
    MessageBoxService* messageBox = nullptr;
    FileDialogService* fileDialog = nullptr;
    FolderService* folders = nullptr;  // the machine's own when not given
    ProgramLauncher* launcher = nullptr;
    RandomSource* random = nullptr;
    ProcessControl* process = nullptr;
    MediaPlayer* music = nullptr;
};

}  // namespace vollo
