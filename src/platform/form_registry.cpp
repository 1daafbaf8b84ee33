#include "platform/form_registry.h"

#include <cstdio>
#include <exception>
#include <utility>

namespace vollo {

namespace {

FormRegistry::FailureSink& failureSink() {
    static FormRegistry::FailureSink sink = [](const std::string& what) {
        std::fprintf(stderr, "vollo: handler failed: %s\n", what.c_str());
    };
    return sink;
}

}  // namespace

FormRegistry::FailureSink FormRegistry::setFailureSink(FailureSink sink) {
    return std::exchange(failureSink(), std::move(sink));
}

FormRegistry::FormRegistry(Services services)
    : services_(services) {}

FormRegistry::~FormRegistry() {
    // Forms refer to each other through the registry only; drop them in reverse
    // creation order.
    unloaded_.clear();
    for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
        forms_.erase(*it);
    }
}

void FormRegistry::declare(const std::string& name, Factory factory) {
    if (!factories_.count(name)) {
        order_.push_back(name);
    }
    factories_[name] = std::move(factory);
}

Form& FormRegistry::touch(const std::string& name) {
    if (Form* form = loaded(name)) {
        return *form;
    }
    auto factory = factories_.find(name);
    if (factory == factories_.end()) {
        throw std::logic_error("no form " + name);
    }
    auto created = factory->second(*this);
    Form& form = *created;
    forms_[name] = std::move(created);
    if (observer_) {
        observer_->formCreated(form);
    }
    form.call("Form_Load");
    return form;
}

Form* FormRegistry::loaded(const std::string& name) const {
    const auto it = forms_.find(name);
    return it == forms_.end() ? nullptr : it->second.get();
}

void FormRegistry::unload(const std::string& name) {
    auto it = forms_.find(name);
    if (it == forms_.end()) {
        return;
    }
    auto form = std::move(it->second);
    forms_.erase(it);
    if (observer_) {
        observer_->formUnloaded(*form);
    }
    unloaded_.push_back(std::move(form));
    if (depth_ == 0) {
        collect();
    }
}

void FormRegistry::collect() {
    unloaded_.clear();
}

bool FormRegistry::dispatch(const std::function<void()>& fn) {
    if (depth_ > 0 || ended_) {
        return false;
    }
    // However fn ends, the depth comes back down and the forms unloaded during it
    // are deleted, so one failed event never blocks the next.
    struct Running {
        FormRegistry& registry;
        ~Running() {
            --registry.depth_;
            registry.collect();
        }
    } running{*this};
    ++depth_;
    // Handlers skip failing steps themselves; anything left is reported here so
    // that one event never takes the program down.
    try {
        fn();
    } catch (const std::exception& e) {
        failureSink()(e.what());
    } catch (...) {
        failureSink()("an exception that is not a std::exception");
    }
    return true;
}

MsgResult FormRegistry::msgBox(const std::string& text, MsgButtons buttons, const std::string& title) {
    if (!services_.messageBox) {
        return buttons == MsgButtons::OK ? MsgResult::OK : MsgResult::Cancel;
    }
    return services_.messageBox->show(text, buttons, title);
}

void FormRegistry::endProcess() {
    if (ended_) {
        return;
    }
    ended_ = true;
    if (services_.process) {
        services_.process->endProcess();
    }
}

}  // namespace vollo
