// Stands where the window binding stands: it learns of a change to a form or
// a control only through the notices the core sends, keeps what it was told,
// and compares that with the real state when asked. A change made without its
// notice would leave a real window showing stale text, values or rows.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/control.h"
#include "platform/form.h"
#include "platform/form_registry.h"

namespace vollo::scenario {

class NoticeMirror : public FormRegistryObserver, public FormObserver, public ControlObserver {
  public:
    ~NoticeMirror() override;

    void formCreated(Form& form) override;
    void formUnloaded(Form& form) override;
    void formChanged(Form& form, Prop what) override;
    void propertyChanged(Control& control, Prop what) override;
    void listChanged(ListBox& list, const ListChange& change) override;

    // The first difference between what was told and what is, or "".
    std::string difference() const;

  private:
    // What a window shows of one form or control, by property.
    using Shown = std::map<Prop, std::vector<std::string>>;
    static std::vector<std::string> read(const Form& form, Prop what);
    static std::vector<std::string> read(const Control& control, Prop what);
    // The properties a window shows of a control of this kind.
    static std::vector<Prop> propsOf(const Control& control);

    std::map<const Form*, Shown> forms_;
    std::map<const Control*, Shown> controls_;
};

}  // namespace vollo::scenario
