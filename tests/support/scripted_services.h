// Scripted stand-ins for the services: message boxes answered from a queue,
// file dialogs answered from a queue, a program launcher that starts nothing,
// a random source fed by the scenario, and a process that records its end.
#pragma once

#include <deque>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/services.h"

namespace vollo::scenario {

// Collects the first problem a service met (a question with no answer queued).
struct ScriptProblems {
    std::string first;
    void report(const std::string& problem) {
        if (first.empty()) {
            first = problem;
        }
    }
};

struct ShownBox {
    std::string text;
    std::string title;
    MsgButtons buttons;
};

class ScriptedMessageBox : public MessageBoxService {
  public:
    explicit ScriptedMessageBox(ScriptProblems& problems)
        : problems_(problems) {}
    MsgResult show(const std::string& text, MsgButtons buttons, const std::string& title) override;

    std::deque<MsgResult> answers;
    std::deque<ShownBox> unchecked;

  private:
    ScriptProblems& problems_;
};

class ScriptedFileDialog : public FileDialogService {
  public:
    explicit ScriptedFileDialog(ScriptProblems& problems)
        : problems_(problems) {}
    std::optional<std::string> open(const FileDialogRequest& request) override;
    std::optional<std::string> save(const FileDialogRequest& request) override;

    // Each entry: a path, or nothing for cancel.
    std::deque<std::optional<std::string>> choices;
    std::vector<FileDialogRequest> shown;

  private:
    std::optional<std::string> next(const FileDialogRequest& request);
    ScriptProblems& problems_;
};

class FakeLauncher : public ProgramLauncher {
  public:
    std::optional<std::string> findOnPath(const std::string& name) override;
    bool start(const std::string& path) override;

    std::map<std::string, std::string> programs;  // file name -> path
    std::string lastStarted;
};

class QueuedRandom : public RandomSource {
  public:
    void seedFromTime() override {}
    double next() override;

    std::deque<double> queue;

  private:
    std::mt19937_64 engine_{20261206};
};

// The sandbox's folders, and a mount table of the root and the sandbox alone,
// so the directory picker does not depend on the machine's mounts.
class SandboxFolders : public LocalFolders {
  public:
    std::vector<std::string> mountPoints() override { return {"/", root}; }
    std::string root;
};

class RecordingProcess : public ProcessControl {
  public:
    void endProcess() override { ended = true; }
    bool ended = false;
};

}  // namespace vollo::scenario
