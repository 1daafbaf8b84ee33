// A list box as an item view over a model that reads the control's items
// directly: no widget per row, so a library of 1,000,000 titles costs nothing
// more than its texts. Every row has the height of the last one, so the view
// places rows by arithmetic: a new list costs the same whatever its length,
// and a paint draws only the rows it shows. Rows are as wide as the view,
// scrolled one row at a time; the geometry, keys, mouse selection and paint
// are those of a list view in list mode with uniform item sizes. The
// selection is kept in step both ways; the row the control names as bold is
// drawn bold; a row too long for the view shows its whole text as a tooltip.
#pragma once

#include <QAbstractItemView>
#include <QAbstractListModel>
#include <QFont>
#include <QPersistentModelIndex>
#include <algorithm>

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

class ListView : public QAbstractItemView, public ControlWidget {
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

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;
    void doItemsLayout() override;
    void reset() override;

  protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex&) const override { return false; }
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    QModelIndexList selectedIndexes() const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void initViewItemOption(QStyleOptionViewItem* option) const override;
    void paintEvent(QPaintEvent* event) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;

    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // Typing edits the filter instead of searching the list.
    void keyboardSearch(const QString&) override {}

  private:
    // The rows [first, last] whose places meet `area` (in contents
    // coordinates); first > last when none do.
    struct Rows {
        int first = 0;
        int last = -1;
        bool empty() const { return first > last; }
    };
    Rows rowsMeeting(const QRect& area) const;
    // Row `row`'s place in contents coordinates.
    QRect rowRect(int row) const;
    // The size of every row: the last row's size hint, measured again after
    // every change of the items or the font.
    QSize rowSize() const;
    int rowHeight() const { return std::max(1, rowSize().height()); }
    int rows() const { return model_->rowCount(); }
    QModelIndex closestRow(int row, Rows candidates) const;
    QItemSelection selectionIn(const QRect& area) const;

    QFont boldFont() const;
    void userSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);

    FormWindow& window_;
    ListBox* list_;
    ListBoxModel* model_;
    bool guard_ = false;  // the view is being changed to match the control
    bool syncQueued_ = false;
    mutable QSize rowSize_;  // invalid: to be measured
    QPersistentModelIndex hover_;
};

}  // namespace vollo::qt
