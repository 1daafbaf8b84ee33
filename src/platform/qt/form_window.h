// One form as a top-level window: a client area of the design's size (in
// twips converted at the screen's DPI), the menu bar, and one widget per
// control at its place. The window observes the form and its controls and
// mirrors every change; user actions update the controls and run their
// handlers through the registry's dispatcher, so no two handlers interleave.
#pragma once

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>
#include <unordered_map>

#include "platform/form.h"
#include "platform/form_registry.h"
#include "platform/qt/qt_style.h"

class QAction;
class QKeyEvent;
class QMenu;
class QMenuBar;
class QMimeData;
class QMouseEvent;
class QTimer;

namespace vollo::qt {

class Surface;

// The MIME type of a control being dragged: "<process id>\n<form>\n<control key>".
inline constexpr const char* kControlMimeType = "application/x-vollo-control";

class FormWindow : public QWidget, public FormObserver, public ControlObserver {
    Q_OBJECT
  public:
    // isMain: closing this window asks its Form_Unload and ends the program;
    // closing another window unloads its form.
    FormWindow(FormRegistry& registry, Form& form, const Units& units, bool isMain);
    ~FormWindow() override;

    // The form, or null once it has been unloaded.
    Form* form() const { return form_; }
    const std::string& formName() const { return formName_; }
    const Units& units() const { return units_; }
    QWidget* clientArea() const;
    QMenuBar* menuBar() const { return menuBar_; }

    // The widget, menu action or timer standing for a control.
    QWidget* widgetFor(const Control& control) const;
    QWidget* widgetFor(const std::string& controlKey) const;
    QAction* actionFor(const Control& control) const;
    QTimer* timerFor(const Control& control) const;

    // The form was unloaded: stop observing, forward nothing more.
    void detach();

    // Runs fn as one event through the dispatcher; false when another handler
    // runs, the program has ended, or the form is gone.
    bool run(const std::function<void()>& fn);
    // A control's event, through the dispatcher.
    bool raiseEvent(Control& control, const std::string& event, EventArgs args = {});
    // `<control>_KeyDown(keyCode, shift)`; keys without a virtual-key code raise nothing.
    bool raiseKeyDown(Control& control, const QKeyEvent& event);
    // `<control>_MouseDown(button, shift, x, y)` with x, y in the control's twips.
    bool raiseMouse(Control& control, const std::string& event, const QMouseEvent& mouse);
    // The automatic drag of a control, from a press at `at` in its widget.
    void startDrag(Control& control, QWidget& widget, const QPoint& at);

    // The data a drag of control carries, and the control a drag carries.
    static QMimeData* dragData(const Control& control);
    Control* draggedControl(const QMimeData* data) const;

    // FormObserver
    void formChanged(Form& form, Prop what) override;
    void formBroughtToFront(Form& form) override;
    // ControlObserver
    void propertyChanged(Control& control, Prop what) override;
    void listChanged(ListBox& list, const ListChange& change) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Bound {
        QWidget* widget = nullptr;
        QAction* action = nullptr;
        QMenu* menu = nullptr;
        QTimer* timer = nullptr;
    };

    void buildControl(Control& control);
    void buildMenus();
    void buildMenuEntry(MenuEntry& entry, QMenu& parent);
    void watchDrops(QWidget& widget);
    void applyWindowGeometry();
    void apply(Control& control, Prop what);
    void applyColors(Control& control, QWidget& widget);
    void applyText(Control& control, Bound& bound);
    void applyMenu(MenuEntry& entry, Bound& bound);
    void applyTimer(Timer& timer, Bound& bound);
    void applyTabOrder();
    bool handleDrag(QObject* watched, QEvent* event);

    FormRegistry& registry_;
    Form* form_;
    std::string formName_;
    Units units_;
    bool isMain_;
    QMenuBar* menuBar_ = nullptr;
    Surface* client_ = nullptr;
    std::unordered_map<const Control*, Bound> bound_;
    QHash<const QObject*, Control*> controlOf_;
    // The last drag position over each receiving widget, for the leave state.
    struct DragPlace {
        Control* source = nullptr;
        double x = 0, y = 0;
    };
    QHash<const QObject*, DragPlace> dragPlaces_;
};

}  // namespace vollo::qt
