// One form as a top-level window: a client area of the design's size (in
// twips converted at the screen's DPI), the menu bar, and one widget per
// control at its place. The window observes the form and its controls and
// mirrors every change; user actions update the controls and run their
// handlers through the registry's dispatcher, so no two handlers interleave.
// The form's left and top are the window's outer edge, its frame included.
#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QWidget>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/form.h"
#include "platform/form_registry.h"
#include "platform/qt/qt_style.h"

class QAction;
class QKeyEvent;
class QMenuBar;
class QMouseEvent;
class QTimer;

namespace vollo::qt {

class ControlWidget;
class DragDrop;
class FormMenus;
class Surface;

class FormWindow : public QWidget, public FormObserver, public ControlObserver {
    Q_OBJECT
  public:
    // isMain: closing this window asks its Form_Unload and ends the program;
    // closing another window unloads its form. owner: the window this one
    // stays above (null for none); it stays usable.
    FormWindow(FormRegistry& registry, Form& form, const Units& units, bool isMain, QWidget* owner = nullptr);
    ~FormWindow() override;

    // The form, or null once it has been unloaded.
    Form* form() const { return form_; }
    FormRegistry& registry() const { return registry_; }
    const std::string& formName() const { return formName_; }
    const Units& units() const { return units_; }
    QWidget* clientArea() const;
    QMenuBar* menuBar() const;

    // The widget, menu action or timer standing for a control.
    QWidget* widgetFor(const Control& control) const;
    QWidget* widgetFor(const std::string& controlKey) const;
    QAction* actionFor(const Control& control) const;
    QTimer* timerFor(const Control& control) const;

    // The form was unloaded: stop observing, forward nothing more.
    void detach();

    // Runs fn as one event through the dispatcher, then shows the state the
    // controls keep outside themselves; false when another handler runs, the
    // program has ended, or the form is gone.
    bool run(const std::function<void()>& fn);
    // A control's event, through the dispatcher.
    bool raiseEvent(Control& control, const std::string& event, EventArgs args = {});
    // `<control>_KeyDown(keyCode, shift)`; keys without a virtual-key code raise nothing.
    bool raiseKeyDown(Control& control, const QKeyEvent& event);
    // `<control>_MouseDown(button, shift, x, y)` with x, y in the control's twips.
    bool raiseMouse(Control& control, const std::string& event, const QMouseEvent& mouse);
    // The automatic drag of a control, from a press at `at` in its widget.
    void startDrag(Control& control, QWidget& widget, const QPoint& at);

    // FormObserver
    void formChanged(Form& form, Prop what) override;
    void formBroughtToFront(Form& form) override;
    // ControlObserver
    void propertyChanged(Control& control, Prop what) override;
    void listChanged(ListBox& list, const ListChange& change) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    // Enter presses the focused button or the default button, Escape the
    // cancel button or closes the window as its close box does.
    void keyPressEvent(QKeyEvent* event) override;
    // Watches the whole program's input to pace the timers.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Bound {
        QWidget* widget = nullptr;
        ControlWidget* shows = nullptr;
        QTimer* timer = nullptr;
        Timer* ticks = nullptr;  // the control the timer stands for
    };

    void buildControl(Control& control);
    QWidget* makeWidget(Control& control, QWidget* parent, ControlWidget*& shows);
    void applyTabOrder();
    void applyWindowGeometry();
    void apply(Control& control, Prop what);
    void applyColors(Control& control, QWidget& widget);
    void applyTimer(Timer& timer, QTimer& qtimer);
    // True within a second of the user's last key, click, wheel or drop.
    bool userActive() const;
    CommandButton* buttonWith(bool CommandButton::*role) const;

    FormRegistry& registry_;
    Form* form_;
    std::string formName_;
    Units units_;
    bool isMain_;
    FormMenus* menus_ = nullptr;
    DragDrop* drag_ = nullptr;
    Surface* client_ = nullptr;
    std::unordered_map<const Control*, Bound> bound_;
    // The widgets whose refresh() reads state kept outside the control, read
    // after every event (the main timer's ticks included): a flat list, not
    // every control of the window.
    std::vector<ControlWidget*> refreshed_;
    QHash<const QObject*, Control*> controlOf_;
    bool watchingInput_ = false;
    QElapsedTimer lastInput_;
};

}  // namespace vollo::qt
