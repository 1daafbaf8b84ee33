#include "platform/qt/list_view.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QStyle>
#include <QTimer>
#include <QToolTip>

#include "platform/qt/form_window.h"
#include "platform/qt/qt_style.h"

namespace vollo::qt {

ListBoxModel::ListBoxModel(const ListBox& list, QObject* parent)
    : QAbstractListModel(parent),
      list_(&list),
      rows_(list.listCount()) {}

int ListBoxModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

QVariant ListBoxModel::data(const QModelIndex& index, int role) const {
    if (!list_ || !index.isValid() || index.row() >= list_->listCount()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return shownText(list_->list(index.row()));
    }
    if (role == Qt::FontRole && index.row() == bold_) {
        return boldFont_;
    }
    return {};
}

void ListBoxModel::apply(const ListChange& change) {
    if (!list_) {
        return;
    }
    const int count = list_->listCount();
    switch (change.kind) {
        case ListChange::Inserted:
            if (change.count > 0 && change.first >= 0 && change.first <= rows_ &&
                rows_ + change.count == count) {
                beginInsertRows(QModelIndex(), change.first, change.first + change.count - 1);
                rows_ = count;
                endInsertRows();
                return;
            }
            break;
        case ListChange::Removed:
            if (change.count > 0 && change.first >= 0 && change.first + change.count <= rows_ &&
                rows_ - change.count == count) {
                beginRemoveRows(QModelIndex(), change.first, change.first + change.count - 1);
                rows_ = count;
                endRemoveRows();
                return;
            }
            break;
        case ListChange::Reset:
            break;
    }
    beginResetModel();
    rows_ = count;
    endResetModel();
}

void ListBoxModel::setBold(int row, const QFont& boldFont) {
    const int old = bold_;
    bold_ = row;
    boldFont_ = boldFont;
    for (int changed : {old, row}) {
        if (changed >= 0 && changed < rows_) {
            emit dataChanged(index(changed), index(changed), {Qt::FontRole});
        }
    }
}

void ListBoxModel::detach() {
    beginResetModel();
    list_ = nullptr;
    rows_ = 0;
    endResetModel();
}

ListView::ListView(FormWindow& window, ListBox& list, QWidget* parent)
    : QListView(parent),
      window_(window),
      list_(&list),
      model_(new ListBoxModel(list, this)) {
    setModel(model_);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideNone);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ListView::userSelectionChanged);
}

void ListView::itemsChanged(const ListChange& change) {
    // The selection model shifts and drops rows with the model; that is not a
    // user's selection.
    guard_ = true;
    model_->apply(change);
    guard_ = false;
    selectionChangedInControl();
}

void ListView::selectionChangedInControl() {
    if (guard_ || syncQueued_ || !list_) {
        return;
    }
    syncQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        syncQueued_ = false;
        syncSelectionFromControl();
    });
}

void ListView::syncSelectionFromControl() {
    if (!list_) {
        return;
    }
    const auto& flags = list_->selectionFlags();
    const int rows = std::min(static_cast<int>(flags.size()), model_->rowCount());
    QItemSelection wanted;
    int run = -1;
    for (int row = 0; row <= rows; ++row) {
        const bool on = row < rows && flags[static_cast<size_t>(row)] != 0;
        if (on && run < 0) {
            run = row;
        } else if (!on && run >= 0) {
            wanted.select(model_->index(run), model_->index(row - 1));
            run = -1;
        }
    }
    guard_ = true;
    selectionModel()->select(wanted, QItemSelectionModel::ClearAndSelect);
    guard_ = false;
}

void ListView::userSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    if (guard_ || !list_) {
        return;
    }
    guard_ = true;
    for (const QItemSelectionRange& range : deselected) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            list_->setSelected(row, false);
        }
    }
    for (const QItemSelectionRange& range : selected) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            list_->setSelected(row, true);
        }
    }
    guard_ = false;
}

void ListView::sync(Prop what) {
    if (!list_) {
        return;
    }
    switch (what) {
        case Prop::Selection:
            selectionChangedInControl();
            break;
        case Prop::TopIndex:
            if (list_->topIndex() < model_->rowCount()) {
                scrollTo(model_->index(list_->topIndex()), QAbstractItemView::PositionAtTop);
            }
            break;
        case Prop::Font:
            // Uniform item sizes are measured once; a new font needs a new measure.
            doItemsLayout();
            model_->setBold(model_->boldRow(), boldFont());
            break;
        default:
            break;
    }
}

void ListView::refresh() {
    if (list_ && list_->boldRow && list_->boldRow() != model_->boldRow()) {
        model_->setBold(list_->boldRow(), boldFont());
    }
}

QFont ListView::boldFont() const {
    QFont bold = font();
    bold.setBold(true);
    return bold;
}

void ListView::detach() {
    guard_ = true;
    list_ = nullptr;
    model_->detach();
}

void ListView::keyPressEvent(QKeyEvent* event) {
    // The handler runs first; the list's own keys (caret, selection) follow.
    QPointer<ListView> self(this);
    if (list_) {
        window_.raiseKeyDown(*list_, *event);
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (self && list_ && enter && list_->enterActivates) {
        window_.raiseEvent(*list_, "DblClick");
        return;
    }
    if (self && list_) {
        QListView::keyPressEvent(event);
    }
}

bool ListView::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QListView::viewportEvent(event);
    }
    // Only a row cut at the view's edge shows its whole text.
    auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString text = index.data().toString();
    const QFont font =
        index.data(Qt::FontRole).isValid() ? index.data(Qt::FontRole).value<QFont>() : this->font();
    const int room = viewport()->width() - visualRect(index).left() -
                     2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin);
    if (index.isValid() && QFontMetrics(font).horizontalAdvance(text) > room) {
        QToolTip::showText(help->globalPos(), text, viewport(), visualRect(index));
    } else {
        QToolTip::hideText();
    }
    return true;
}

void ListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QPointer<ListView> self(this);
    QListView::mouseDoubleClickEvent(event);
    if (self && list_) {
        window_.raiseEvent(*list_, "DblClick");
    }
}

}  // namespace vollo::qt
