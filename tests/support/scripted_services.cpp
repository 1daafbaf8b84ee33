#include "scripted_services.h"

namespace vollo::scenario {

MsgResult ScriptedMessageBox::show(const std::string& text, MsgButtons buttons, const std::string& title) {
    unchecked.push_back({text, title, buttons});
    if (buttons == MsgButtons::OK) {
        if (!answers.empty() && answers.front() == MsgResult::OK) {
            answers.pop_front();
        }
        return MsgResult::OK;
    }
    if (answers.empty()) {
        problems_.report("a message box asked \"" + text + "\" with no answer queued");
        return buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Cancel;
    }
    const MsgResult answer = answers.front();
    answers.pop_front();
    const bool fits = answer == MsgResult::Yes || answer == MsgResult::No ||
                      (answer == MsgResult::Cancel && buttons == MsgButtons::YesNoCancel);
    if (!fits) {
        problems_.report("the queued answer does not fit the message box \"" + text + "\"");
        return buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Cancel;
    }
    return answer;
}

std::optional<std::string> ScriptedFileDialog::next(const FileDialogRequest& request) {
    shown.push_back(request);
    if (choices.empty()) {
        problems_.report("a file dialog \"" + request.title + "\" was shown with nothing chosen");
        return std::nullopt;
    }
    auto choice = choices.front();
    choices.pop_front();
    return choice;
}

std::optional<std::string> ScriptedFileDialog::open(const FileDialogRequest& request) {
    return next(request);
}
std::optional<std::string> ScriptedFileDialog::save(const FileDialogRequest& request) {
    return next(request);
}

std::optional<std::string> FakeLauncher::findOnPath(const std::string& name) {
    const auto it = programs.find(name);
    if (it == programs.end()) {
        return std::nullopt;
    }
    return it->second;
}

bool FakeLauncher::start(const std::string& path) {
    for (const auto& [name, where] : programs) {
        if (where == path) {
            lastStarted = path;
            return true;
        }
    }
    return false;
}

double QueuedRandom::next() {
    if (!queue.empty()) {
        const double value = queue.front();
        queue.pop_front();
        return value;
    }
    return std::uniform_real_distribution<double>(0.0, 1.0)(engine_);
}

}  // namespace vollo::scenario
