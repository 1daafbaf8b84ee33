// Form lifetime and event dispatch.
//
// Secondary windows are single application-wide instances: touching one that
// does not exist creates it hidden and runs its load step; unloading throws it
// away (deleted once the running handler has returned); touching it again
// creates it anew. The dispatcher runs one top-level handler at a time: an
// event arriving while another handler runs (a timer tick during a modal
// message box) is skipped, not queued.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/services.h"

namespace vollo {

class FormRegistryObserver {
  public:
    virtual ~FormRegistryObserver() = default;
    // Before the load step runs: the binding builds the window (hidden).
    virtual void formCreated(Form& form) = 0;
    // The form was unloaded; its object stays valid until the handler returns.
    virtual void formUnloaded(Form& form) = 0;
};

class FormRegistry {
  public:
    explicit FormRegistry(Services services);
    ~FormRegistry();

    Services& services() { return services_; }

    using Factory = std::function<std::unique_ptr<Form>(FormRegistry&)>;
    // Declares a form by name; it is created on first touch.
    void declare(const std::string& name, Factory factory);
    // The form's instance, created hidden with its load step when absent.
    Form& touch(const std::string& name);
    // The instance when it exists.
    Form* loaded(const std::string& name) const;
    bool isLoaded(const std::string& name) const { return loaded(name) != nullptr; }
    void unload(const std::string& name);

    void setObserver(FormRegistryObserver* observer) { observer_ = observer; }

    // Runs fn as one top-level event; false (and nothing run) while another
    // handler is running or after the process has ended. An exception leaving fn
    // goes to the failure sink and the program goes on.
    bool dispatch(const std::function<void()>& fn);
    // True while a handler runs (dispatch refuses then).
    bool busy() const { return depth_ > 0; }

    // Where failed handlers are reported, for every registry of the process: the
    // program prints them on stderr; the tests count them as failures.
    using FailureSink = std::function<void(const std::string& what)>;
    // Returns the sink it replaces.
    static FailureSink setFailureSink(FailureSink sink);

    // Shows a message box through the service ("Vollo" when no title is given).
    MsgResult msgBox(const std::string& text, MsgButtons buttons = MsgButtons::OK,
                     const std::string& title = "Vollo");

    void endProcess();
    bool ended() const { return ended_; }

  private:
    void collect();

    Services services_;
    std::map<std::string, Factory> factories_;
    std::vector<std::string> order_;
    std::map<std::string, std::unique_ptr<Form>> forms_;
    std::vector<std::unique_ptr<Form>> unloaded_;
    FormRegistryObserver* observer_ = nullptr;
    int depth_ = 0;
    bool ended_ = false;
};

}  // namespace vollo
