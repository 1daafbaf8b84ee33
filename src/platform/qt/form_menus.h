// The menu bar of a form: one menu per top-level entry, one action per entry.
// Opening a menu runs its top-level entry's Click, choosing an entry runs the
// entry's Click, each through the window's dispatcher; every change of an
// entry (caption, check mark, enabled, visible) is mirrored.
#pragma once

#include <QObject>
#include <unordered_map>

#include "platform/form.h"

class QAction;
class QMenu;
class QMenuBar;

namespace vollo::qt {

class FormWindow;

class FormMenus : public QObject {
    Q_OBJECT
  public:
    // Builds the bar in window; none when the form has no menus.
    FormMenus(FormWindow& window, Form& form);

    QMenuBar* menuBar() const { return bar_; }
    // The action of an entry, or null.
    QAction* actionFor(const Control& entry) const;
    void apply(MenuEntry& entry);
    // The form was unloaded: the menus run nothing more.
    void detach() { attached_ = false; }

  private:
    void build(MenuEntry& entry, QMenu& parent);

    FormWindow& window_;
    QMenuBar* bar_ = nullptr;
    std::unordered_map<const Control*, QAction*> actions_;
    bool attached_ = true;
};

}  // namespace vollo::qt
