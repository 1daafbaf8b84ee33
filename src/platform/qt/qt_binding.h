// The Qt binding: observes the form registry and builds a window for every
// form it creates, destroys it when the form is unloaded.
#pragma once

#include <QPointer>
#include <map>
#include <string>

#include "platform/form_registry.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_style.h"

namespace vollo::qt {

class QtBinding : public FormRegistryObserver {
  public:
    // Attaches to the registry; mainForm names the window whose closing asks
    // Form_Unload and ends the program.
    explicit QtBinding(FormRegistry& registry, std::string mainForm = "frmMain");
    QtBinding(FormRegistry& registry, std::string mainForm, const Units& units);
    ~QtBinding() override;
    QtBinding(const QtBinding&) = delete;
    QtBinding& operator=(const QtBinding&) = delete;

    // The window of a loaded form, or null.
    FormWindow* window(const std::string& formName) const;
    const Units& units() const { return units_; }

    void formCreated(Form& form) override;
    void formUnloaded(Form& form) override;

  private:
    FormRegistry& registry_;
    std::string mainForm_;
    Units units_;
    std::map<std::string, QPointer<FormWindow>> windows_;
};

}  // namespace vollo::qt
