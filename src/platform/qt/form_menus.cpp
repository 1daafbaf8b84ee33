#include "platform/qt/form_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "platform/qt/form_window.h"
#include "platform/qt/qt_style.h"

namespace vollo::qt {

FormMenus::FormMenus(FormWindow& window, Form& form)
    : QObject(&window),
      window_(window) {
    for (const auto& control : form.controls()) {
        if (control->kind() != ControlKind::Menu || control->container()) {
            continue;
        }
        auto* top = static_cast<MenuEntry*>(control.get());
        if (!bar_) {
            bar_ = new QMenuBar(&window);
        }
        QMenu* menu = bar_->addMenu(shownText(top->caption()));
        actions_[top] = menu->menuAction();
        connect(menu, &QMenu::aboutToShow, this, [this, top] {
            if (attached_) {
                window_.raiseEvent(*top, "Click");
            }
        });
        for (MenuEntry* entry : top->entries) {
            build(*entry, *menu);
        }
        apply(*top);
    }
}

QAction* FormMenus::actionFor(const Control& entry) const {
    const auto it = actions_.find(&entry);
    return it == actions_.end() ? nullptr : it->second;
}

void FormMenus::build(MenuEntry& entry, QMenu& parent) {
    QAction* action = nullptr;
    if (entry.isSeparator()) {
        action = parent.addSeparator();
    } else if (!entry.entries.empty()) {
        QMenu* menu = parent.addMenu(shownText(entry.caption()));
        action = menu->menuAction();
        for (MenuEntry* child : entry.entries) {
            build(*child, *menu);
        }
    } else {
        action = parent.addAction(shownText(entry.caption()));
        connect(action, &QAction::triggered, this, [this, &entry] {
            if (!attached_) {
                return;
            }
            window_.run([&entry] { entry.click(); });
            // The check mark is the control's, whatever the action toggled.
            if (attached_) {
                apply(entry);
            }
        });
    }
    actions_[&entry] = action;
    apply(entry);
}

void FormMenus::apply(MenuEntry& entry) {
    QAction* action = actionFor(entry);
    if (!action) {
        return;
    }
    if (!entry.isSeparator()) {
        action->setText(shownText(entry.caption()));
    }
    // Entries show a check mark only while checked, as the desktop's menus do.
    action->setCheckable(entry.checked());
    action->setChecked(entry.checked());
    action->setEnabled(entry.enabled());
    action->setVisible(entry.visible());
}

}  // namespace vollo::qt
