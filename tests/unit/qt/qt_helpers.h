// Helpers of the binding's tests: what list views show, menu entries, clicks.
#pragma once

#include <gtest/gtest.h>
#include <QAction>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <algorithm>

#include "test_app.h"

namespace vollo::qt::test {

// The texts a list view shows and the rows it has selected.
inline std::vector<std::string> shownRows(QListView& view) {
    std::vector<std::string> rows;
    for (int row = 0; row < view.model()->rowCount(); ++row) {
        rows.push_back(view.model()->index(row, 0).data().toString().toStdString());
    }
    return rows;
}
inline std::vector<int> viewSelection(QListView& view) {
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
inline QPoint rowCentre(QListView& view, int row) {
    return view.visualRect(view.model()->index(row, 0)).center();
}
inline void click(QWidget* button) {
    QTest::mouseClick(qobject_cast<QPushButton*>(button), Qt::LeftButton);
}

}  // namespace vollo::qt::test
