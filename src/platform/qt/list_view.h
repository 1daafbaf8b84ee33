// A list box as a QListView over a model that reads the control's items
// directly: no widget per row, so a library of 100,000 titles costs nothing
// more than its texts. The selection is kept in step both ways; the row the
// control names as bold is drawn bold; a row too long for the view shows its
// whole text as a tooltip.
#pragma once

#include <QAbstractListModel>
#include <QFont>
#include <QListView>

#include "platform/control.h"
#include "platform/qt/widgets.h"

namespace vollo::qt {

class FormWindow;

class ListBoxModel : public QAbstractListModel {
    Q_OBJECT
  public:
    explicit ListBoxModel(const ListBox& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // The control's items changed as described; the model follows without a
    // reset for inserted and removed rows.
    void apply(const ListChange& change);
    // The control goes away: the model becomes empty and reads nothing more.
    void detach();
    // The row drawn in boldFont (-1: none).
    void setBold(int row, const QFont& boldFont);
    int boldRow() const { return bold_; }

  private:
    const ListBox* list_;
    int rows_;  // the rows the views know of
    int bold_ = -1;
    QFont boldFont_;
};

class ListView : public QListView, public ControlWidget {
    Q_OBJECT
  public:
    ListView(FormWindow& window, ListBox& list, QWidget* parent);

    ListBox* list() const { return list_; }
    ListBoxModel& listModel() { return *model_; }

    void itemsChanged(const ListChange& change);
    // The control's selection changed: the view follows once the running
    // event is over (many single changes cost one pass).
    void selectionChangedInControl();
    void syncSelectionFromControl();
    void sync(Prop what) override;
    // Follows the control's bold row.
    void refresh() override;
    void detach() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // Typing edits the filter instead of searching the list.
    void keyboardSearch(const QString&) override {}

  private:
    QFont boldFont() const;
    void userSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);

    FormWindow& window_;
    ListBox* list_;
    ListBoxModel* model_;
    bool guard_ = false;  // the view is being changed to match the control
    bool syncQueued_ = false;
};

}  // namespace vollo::qt
