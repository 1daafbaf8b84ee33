#include "platform/qt/qt_binding.h"

#include <QApplication>

#include "platform/qt/pictures.h"

namespace vollo::qt {

QtBinding::QtBinding(FormRegistry& registry, std::string mainForm)
    : QtBinding(registry, std::move(mainForm), Units::forScreen()) {}

QtBinding::QtBinding(FormRegistry& registry, std::string mainForm, const Units& units)
    : registry_(registry),
      mainForm_(std::move(mainForm)),
      units_(units) {
    QApplication::setWindowIcon(programIcon());
    registry_.setObserver(this);
}

QtBinding::~QtBinding() {
    registry_.setObserver(nullptr);
    for (auto& [name, window] : windows_) {
        delete window.data();
    }
}

FormWindow* QtBinding::window(const std::string& formName) const {
    const auto it = windows_.find(formName);
    return it == windows_.end() ? nullptr : it->second.data();
}

void QtBinding::formCreated(Form& form) {
    if (FormWindow* old = window(form.name())) {
        old->detach();
        old->hide();
        old->deleteLater();
    }
    // Every other window stays above the main window, which stays usable.
    const bool isMain = form.name() == mainForm_;
    windows_[form.name()] =
        new FormWindow(registry_, form, units_, isMain, isMain ? nullptr : window(mainForm_));
}

void QtBinding::formUnloaded(Form& form) {
    const auto it = windows_.find(form.name());
    if (it == windows_.end()) {
        return;
    }
    if (FormWindow* window = it->second.data()) {
        // The form object lives until the running handler returns; the window
        // lets go of it now and goes away once the event is over.
        window->detach();
        window->hide();
        window->deleteLater();
    }
    windows_.erase(it);
}

}  // namespace vollo::qt
