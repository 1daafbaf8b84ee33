#include "platform/qt/drag_drop.h"

#include <QCoreApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

#include "platform/form.h"
#include "platform/form_registry.h"
#include "platform/qt/file_uris.h"
#include "platform/qt/form_window.h"
#include "platform/qt/pictures.h"

namespace vollo::qt {

DragDrop::DragDrop(FormWindow& window)
    : QObject(&window),
      window_(window) {}

QMimeData* DragDrop::dragData(const Control& control) {
    auto* data = new QMimeData;
    const std::string payload = std::to_string(QCoreApplication::applicationPid()) + "\n" +
                                control.form().name() + "\n" + control.key();
    data->setData(QString::fromLatin1(kControlMimeType), QByteArray::fromStdString(payload));
    return data;
}

Control* DragDrop::draggedControl(const QMimeData* data) const {
    if (!data || !data->hasFormat(QString::fromLatin1(kControlMimeType))) {
        return nullptr;
    }
    const std::string payload = data->data(QString::fromLatin1(kControlMimeType)).toStdString();
    const size_t first = payload.find('\n');
    const size_t second = first == std::string::npos ? first : payload.find('\n', first + 1);
    if (second == std::string::npos) {
        return nullptr;
    }
    // Only drags that started in this process.
    if (payload.substr(0, first) != std::to_string(QCoreApplication::applicationPid())) {
        return nullptr;
    }
    const Form* source = window_.registry().loaded(payload.substr(first + 1, second - first - 1));
    return source ? source->find(payload.substr(second + 1)) : nullptr;
}

void DragDrop::start(Control& control, QWidget& widget, const QPoint& at) {
    auto* drag = new QDrag(&widget);
    drag->setMimeData(dragData(control));
    drag->setPixmap(dragOutline(widget.size()));
    drag->setHotSpot(at);
    drag->exec(Qt::MoveAction);
}

void DragDrop::watch(QWidget& receiver, QWidget& frame, Control* target) {
    receiver.setAcceptDrops(true);
    receiver.installEventFilter(this);
    receivers_.insert(&receiver, Receiver{target, &frame});
}

void DragDrop::detach() {
    receivers_.clear();
    places_.clear();
}

void DragDrop::send(const Receiver& receiver, const std::string& event, EventArgs args) {
    Control* target = receiver.target;
    window_.run([this, target, &event, &args] {
        if (target) {
            target->raise(event, args);
        } else if (Form* form = window_.form()) {
            form->call("Form_" + event, args);
        }
    });
}

bool DragDrop::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::DragLeave &&
        type != QEvent::Drop) {
        return false;
    }
    const auto found = receivers_.constFind(watched);
    if (found == receivers_.constEnd() || !window_.form()) {
        return false;
    }
    const Receiver receiver = found.value();

    if (type == QEvent::DragLeave) {
        const auto place = places_.find(watched);
        if (place == places_.end()) {
            return true;
        }
        const Place last = place.value();
        places_.erase(place);
        if (last.source) {
            EventArgs args;
            args.args = {Arg(last.source), Arg(last.x), Arg(last.y), Arg(1.0)};
            send(receiver, "DragOver", std::move(args));
        }
        return true;
    }

    auto* drop = static_cast<QDropEvent*>(event);
    Control* source = draggedControl(drop->mimeData());
    if (!source && receiver.target && drop->mimeData()->hasUrls()) {
        dropFiles(*receiver.target, *drop);
        return true;
    }
    if (!source) {
        drop->ignore();
        return true;
    }
    const QPoint at = static_cast<QWidget*>(watched)->mapTo(receiver.frame, drop->position().toPoint());
    const double x = window_.units().twips(at.x());
    const double y = window_.units().twips(at.y());
    drop->setDropAction(Qt::MoveAction);
    drop->accept();
    EventArgs args;
    if (type == QEvent::Drop) {
        places_.remove(watched);
        args.args = {Arg(source), Arg(x), Arg(y)};
        send(receiver, "DragDrop", std::move(args));
    } else {
        const double state = type == QEvent::DragEnter ? 0.0 : 2.0;
        places_.insert(watched, Place{source, x, y});
        args.args = {Arg(source), Arg(x), Arg(y), Arg(state)};
        send(receiver, "DragOver", std::move(args));
    }
    return true;
}

void DragDrop::dropFiles(Control& target, QDropEvent& drop) {
    // Only a control with a handler for files takes them.
    const Form* form = window_.form();
    if (!form || !form->handler(target.name() + "_OLEDragDrop")) {
        drop.ignore();
        return;
    }
    drop.setDropAction(Qt::CopyAction);
    drop.accept();
    if (drop.type() != QEvent::Drop) {
        return;
    }
    EventArgs args;
    for (const QUrl& url : drop.mimeData()->urls()) {
        if (const auto path = localFileOf(url)) {
            args.args.emplace_back(*path);
        }
    }
    window_.run([&target, &args] { target.raise("OLEDragDrop", args); });
}

}  // namespace vollo::qt
