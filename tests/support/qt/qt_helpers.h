// Helpers of the binding's tests: what list views and widgets show, menu entries,
// clicks, drag events and answers to the real file dialogs.
#pragma once

#include <gtest/gtest.h>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <utility>

#include "platform/qt/drag_drop.h"
#include "test_app.h"

namespace vollo::qt::test {

// The texts a list view shows and the rows it has selected.
inline std::vector<std::string> shownRows(QAbstractItemView& view) {
    std::vector<std::string> rows;
    for (int row = 0; row < view.model()->rowCount(); ++row) {
        rows.push_back(view.model()->index(row, 0).data().toString().toStdString());
    }
    return rows;
}
inline std::vector<int> viewSelection(QAbstractItemView& view) {
    std::vector<int> rows;
    for (const QModelIndex& index : view.selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}
inline QStringList texts(const QList<QAction*>& actions) {
    QStringList shown;
    for (QAction* action : actions) {
        shown << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return shown;
}
inline QAction* menuAction(TestApp& t, const QString& menu, const QString& entry) {
    for (QAction* top : t.window().menuBar()->actions()) {
        for (QAction* action :
             top->text() == menu && top->menu() ? top->menu()->actions() : QList<QAction*>{}) {
            if (action->text() == entry) {
                return action;
            }
        }
    }
    ADD_FAILURE() << "no menu entry " << entry.toStdString();
    return nullptr;
}
// Triggers the menu entry; a missing entry fails the test.
inline void choose(TestApp& t, const QString& menu, const QString& entry) {
    if (QAction* action = menuAction(t, menu, entry)) {
        action->trigger();
    }
}
inline QPoint rowCentre(QAbstractItemView& view, int row) {
    return view.visualRect(view.model()->index(row, 0)).center();
}
inline void click(QWidget* button) {
    QTest::mouseClick(qobject_cast<QPushButton*>(button), Qt::LeftButton);
}

// The rows a list view draws in bold.
inline std::vector<int> boldRows(QAbstractItemView& view) {
    std::vector<int> rows;
    for (int row = 0; row < view.model()->rowCount(); ++row) {
        const QVariant font = view.model()->index(row, 0).data(Qt::FontRole);
        if (font.isValid() && font.value<QFont>().bold()) {
            rows.push_back(row);
        }
    }
    return rows;
}
// The darkest and the lightest grey in the middle half of a widget.
inline std::pair<int, int> greyRange(QWidget& widget) {
    const QImage image = widget.grab().toImage();
    int darkest = 255, lightest = 0;
    for (int y = image.height() / 4; y < image.height() * 3 / 4; ++y) {
        for (int x = image.width() / 4; x < image.width() * 3 / 4; ++x) {
            const int grey = qGray(image.pixel(x, y));
            darkest = std::min(darkest, grey);
            lightest = std::max(lightest, grey);
        }
    }
    return {darkest, lightest};
}
// Sends a drag event carrying data to widget at pos (widget pixels); whether it was accepted.
template <class Event>
bool sendDrag(QMimeData& data, QWidget& widget, QPoint pos, Qt::DropAction action = Qt::MoveAction) {
    Event event(pos, action, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&widget, &event);
    return event.isAccepted();
}
template <class Event>
bool sendDrag(Control& dragged, QWidget& widget, QPoint pos) {
    std::unique_ptr<QMimeData> data(DragDrop::dragData(dragged));
    return sendDrag<Event>(*data, widget, pos);
}
// Enters and drops there: the toolkit delivers drops only to the widget the drag entered.
inline bool dropOn(Control& dragged, QWidget& widget, QPoint pos) {
    return sendDrag<QDragEnterEvent>(dragged, widget, pos) && sendDrag<QDropEvent>(dragged, widget, pos);
}
// Types name into the next file dialog and accepts it; records the folder it started in.
inline void answerNextFileDialog(const QString& name, QString& startedIn) {
    QTimer::singleShot(0, [&startedIn, name] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        startedIn = dialog->directory().absolutePath();
        dialog->selectFile(name);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

}  // namespace vollo::qt::test
