// The toolkit's automatic drag-and-drop between controls. A drag carries the
// dragged control; the control under the pointer (a list's viewport stands for
// its list, the client area for the form) gets `_DragOver` with the state
// 0 entering, 1 leaving, 2 moving over, and `_DragDrop`, each with the place
// in that control's twips, through the window's dispatcher. Files dragged
// from the file manager (file:// URIs) reach `<control>_OLEDragDrop` with
// their local paths, on a control that has that handler.
#pragma once

#include <QHash>
#include <QObject>
#include <QPoint>

#include "platform/control.h"

class QDropEvent;
class QEvent;
class QMimeData;
class QWidget;

namespace vollo::qt {

class FormWindow;

// The MIME type of a control being dragged: "<process id>\n<form>\n<control key>".
inline constexpr const char* kControlMimeType = "application/x-vollo-control";

class DragDrop : public QObject {
    Q_OBJECT
  public:
    explicit DragDrop(FormWindow& window);

    // The data a drag of control carries.
    static QMimeData* dragData(const Control& control);
    // The control a drag carries: one of a loaded form of this process, or null.
    Control* draggedControl(const QMimeData* data) const;
    // The automatic drag of a control, from a press at `at` in its widget.
    void start(Control& control, QWidget& widget, const QPoint& at);

    // receiver takes drops for target (null: the form), measured in frame.
    void watch(QWidget& receiver, QWidget& frame, Control* target);
    // The form was unloaded: drops reach nothing more.
    void detach();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Receiver {
        Control* target = nullptr;
        QWidget* frame = nullptr;
    };
    // The last drag position over a receiver, for the leave state.
    struct Place {
        Control* source = nullptr;
        double x = 0, y = 0;
    };
    void send(const Receiver& receiver, const std::string& event, EventArgs args);
    void dropFiles(Control& target, QDropEvent& drop);

    FormWindow& window_;
    QHash<const QObject*, Receiver> receivers_;
    QHash<const QObject*, Place> places_;
};

}  // namespace vollo::qt
