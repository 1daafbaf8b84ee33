#include "platform/qt/list_view.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QStylePainter>
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
    : QAbstractItemView(parent),
      window_(window),
      list_(&list),
      model_(new ListBoxModel(list, this)) {
    setAttribute(Qt::WA_MacShowFocusRect);
    setModel(model_);
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
    // The walk ends after the last selected row: nothing selected costs nothing.
    int left = list_->selCount();
    const int rows = std::min(static_cast<int>(flags.size()), model_->rowCount());
    QItemSelection wanted;
    int run = -1;
    for (int row = 0; row <= rows && (left > 0 || run >= 0); ++row) {
        const bool on = row < rows && flags[static_cast<size_t>(row)] != 0;
        left -= on ? 1 : 0;
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
        QAbstractItemView::keyPressEvent(event);
    }
}

bool ListView::viewportEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::HoverEnter:
        case QEvent::HoverMove:
            hover_ = indexAt(static_cast<QHoverEvent*>(event)->position().toPoint());
            return QAbstractItemView::viewportEvent(event);
        case QEvent::HoverLeave:
            hover_ = QPersistentModelIndex();
            return QAbstractItemView::viewportEvent(event);
        case QEvent::ToolTip:
            break;
        default:
            return QAbstractItemView::viewportEvent(event);
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
    QAbstractItemView::mouseDoubleClickEvent(event);
    if (self && list_) {
        window_.raiseEvent(*list_, "DblClick");
    }
}

// Geometry: row r lies at (0, r * height) in contents coordinates, as wide as
// the view (or as the last row's size hint, when that is wider); the vertical
// scroll bar counts rows.

QSize ListView::rowSize() const {
    if (!rowSize_.isValid()) {
        const int count = model_->rowCount();
        if (count <= 0) {
            return QSize();
        }
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.rect = QRect(QPoint(), maximumViewportSize());
        const QModelIndex sample = model_->index(count - 1);
        rowSize_ = itemDelegateForIndex(sample)->sizeHint(option, sample);
    }
    return rowSize_;
}

QRect ListView::rowRect(int row) const {
    if (row < 0 || row >= rows()) {
        return {};
    }
    const QSize size = rowSize();
    return QRect(0, row * rowHeight(), std::max(size.width(), viewport()->width()), size.height());
}

ListView::Rows ListView::rowsMeeting(const QRect& given) const {
    const QRect area = given.normalized();  // a drag upwards gives a rect upside down
    const int count = rows();
    const int height = rowHeight();
    if (count <= 0 || area.right() < 0 || area.top() > count * height) {
        return {};
    }
    const int first = std::clamp(area.top() < 0 ? 0 : area.top() / height, 0, count - 1);
    if (first * height > area.bottom()) {
        return {};
    }
    const int last = area.bottom() < 0 ? -1 : std::min(count - 1, area.bottom() / height);
    return {first, last};
}

QModelIndex ListView::closestRow(int row, Rows candidates) const {
    // Rows stand in one column: the closest is the one nearest in rows, the
    // first of two as near.
    if (candidates.empty()) {
        return {};
    }
    int best = candidates.first;
    for (const int candidate : {candidates.first, candidates.last}) {
        if (std::abs(candidate - row) < std::abs(best - row)) {
            best = candidate;
        }
    }
    if (row > candidates.first && row < candidates.last) {
        best = row;
    }
    return model_->index(best);
}

QItemSelection ListView::selectionIn(const QRect& area) const {
    QItemSelection selection;
    const Rows meeting = rowsMeeting(area);
    if (!meeting.empty()) {
        selection.select(model_->index(meeting.first), model_->index(meeting.last));
    }
    return selection;
}

QRect ListView::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != model_ || index.parent().isValid() || index.column() != 0) {
        return {};
    }
    const_cast<ListView*>(this)->executeDelayedItemsLayout();
    return rowRect(index.row()).translated(-horizontalOffset(), -verticalOffset());
}

QModelIndex ListView::indexAt(const QPoint& point) const {
    const Rows meeting =
        rowsMeeting(QRect(point.x() + horizontalOffset(), point.y() + verticalOffset(), 1, 1));
    if (meeting.empty()) {
        return {};
    }
    const QModelIndex index = model_->index(meeting.last);
    return visualRect(index).contains(point) ? index : QModelIndex();
}

int ListView::horizontalOffset() const {
    return horizontalScrollBar()->value();
}

int ListView::verticalOffset() const {
    const int value = verticalScrollBar()->value();
    return rows() <= 0 || value > rows() ? 0 : value * rowHeight();
}

void ListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid() || index.parent().isValid() || index.column() != 0) {
        return;
    }
    const QRect rect = visualRect(index);
    if (!rect.isValid()) {
        return;
    }
    const QRect area = viewport()->rect();
    if (hint == EnsureVisible && area.contains(rect)) {
        viewport()->update(rect);
        return;
    }
    if (hint == EnsureVisible && rect.top() < area.top()) {
        hint = PositionAtTop;
    } else if (hint == EnsureVisible && rect.bottom() > area.bottom()) {
        hint = PositionAtBottom;
    }
    const int row = index.row();
    // The rows that fit above and with `row` at the bottom of the view.
    const int fit = std::min(row + 1, std::max(1, area.height() / rect.height()));
    int value = std::clamp(verticalScrollBar()->value(), 0, rows());
    if (hint == PositionAtTop) {
        value = row;
    } else if (hint == PositionAtBottom) {
        value = row - fit + 1;
    } else if (hint == PositionAtCenter) {
        value = row - fit / 2;
    }
    verticalScrollBar()->setValue(value);
}

QModelIndex ListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const int count = rows();
    const QModelIndex current = currentIndex();
    if (!current.isValid()) {
        return count > 0 ? model_->index(0) : QModelIndex();
    }
    const int row = current.row();
    switch (action) {
        case MoveUp:
        case MovePrevious:
            return row > 0 ? model_->index(row - 1) : current;
        case MoveDown:
        case MoveNext:
            return row + 1 < count ? model_->index(row + 1) : current;
        case MoveHome:
            return model_->index(0);
        case MoveEnd:
            return model_->index(count - 1);
        case MoveLeft:
        case MoveRight:
            return current;  // one column
        default:
            break;
    }
    // A page: the farthest row whose whole place, with the current row's,
    // fits in the view, searched pixel by pixel as a list view does.
    const QRect initial = rowRect(row);
    if (initial.isEmpty()) {
        return model_->index(0);
    }
    const int page = viewport()->height();
    const int contents = count * rowHeight();
    if (initial.height() >= page) {
        return moveCursor(action == MovePageUp ? MoveUp : MoveDown, modifiers);
    }
    QRect rect = initial;
    Rows meeting;
    if (action == MovePageUp) {
        rect.moveTop(rect.top() - page + 1);
        if (rect.top() < rect.height()) {
            rect.setTop(0);
            rect.setBottom(1);
        }
        QModelIndex found = current;
        while (meeting.empty() || rowRect(found.row()).top() <= initial.bottom() - page || rect.top() <= 0) {
            rect.translate(0, 1);
            if (rect.bottom() <= 0) {
                return current;
            }
            meeting = rowsMeeting(rect);
            found = closestRow(row, meeting);
        }
        return found;
    }
    rect.moveTop(rect.top() + page - 1);
    if (rect.bottom() > contents - rect.height()) {
        rect.setTop(contents - 1);
        rect.setBottom(contents);
    }
    QModelIndex found = current;
    while (meeting.empty() || rowRect(found.row()).bottom() >= page + initial.top() ||
           rect.bottom() > contents) {
        rect.translate(0, -1);
        if (rect.top() >= contents) {
            return current;
        }
        meeting = rowsMeeting(rect);
        found = closestRow(row, meeting);
    }
    return found;
}

void ListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    const QPoint offset(horizontalOffset(), verticalOffset());
    QItemSelection selection;
    if (rect.width() == 1 && rect.height() == 1) {
        const Rows meeting = rowsMeeting(rect.translated(offset));
        if (!meeting.empty()) {
            selection.select(model_->index(meeting.last), model_->index(meeting.last));
        }
    } else if (state() == DragSelectingState) {
        selection = selectionIn(rect.translated(offset));
    } else {
        // From the row at one corner to the row at the other.
        const Rows top = rowsMeeting(QRect(rect.topLeft() + offset, QSize(1, 1)));
        const Rows bottom = rowsMeeting(QRect(rect.bottomRight() + offset, QSize(1, 1)));
        if (!top.empty() && !bottom.empty()) {
            QRect first = rowRect(top.last);
            QRect last = rowRect(bottom.last);
            if (first.bottom() < last.top()) {
                first.setBottom(last.top() - 1);
            } else {
                last.setBottom(first.top() - 1);
            }
            selection.merge(selectionIn(first), QItemSelectionModel::Select);
            selection.merge(selectionIn(last), QItemSelectionModel::Select);
        }
    }
    selectionModel()->select(selection, command);
}

QRegion ListView::visualRegionForSelection(const QItemSelection& selection) const {
    QRegion region;
    const QRect area = viewport()->rect();
    for (const QItemSelectionRange& range : selection) {
        if (!range.isValid() || range.parent().isValid()) {
            continue;
        }
        const QRect rect(visualRect(range.topLeft()).topLeft(),
                         visualRect(range.bottomRight()).bottomRight());
        if (area.intersects(rect)) {
            region += rect;
        }
    }
    return region;
}

QModelIndexList ListView::selectedIndexes() const {
    return selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
}

void ListView::doItemsLayout() {
    rowSize_ = QSize();
    QAbstractItemView::doItemsLayout();
}

void ListView::reset() {
    rowSize_ = QSize();
    QAbstractItemView::reset();
    // The layout costs the same for any number of rows: done at once, it
    // joins the paint the new rows need anyway.
    scheduleDelayedItemsLayout();
    executeDelayedItemsLayout();
}

void ListView::updateGeometries() {
    const int count = rows();
    horizontalScrollBar()->setRange(0, 0);  // rows are as wide as the view
    if (geometry().isEmpty() || count <= 0) {
        verticalScrollBar()->setRange(0, 0);
    } else {
        const int height = rowHeight();
        const int page = count * height <= viewport()->height() ? count + 1 : viewport()->height() / height;
        verticalScrollBar()->setSingleStep(1);
        verticalScrollBar()->setPageStep(page);
        verticalScrollBar()->setRange(0, std::max(0, count - page));
    }
    QAbstractItemView::updateGeometries();
    // The scroll bar shows or hides now, so the first paint has the final width.
    setViewportMargins(viewportMargins());
}

void ListView::scrollContentsBy(int dx, int dy) {
    // The scroll bar counts rows; the contents move by pixels.
    const int count = rows();
    if (count <= 0) {
        return;
    }
    if (dy != 0) {
        const int now = std::clamp(verticalScrollBar()->value(), 0, count);
        const int before = std::clamp(now + dy, 0, count);
        dy = (before - now) * rowHeight();
    }
    scrollDirtyRegion(dx, dy);
    viewport()->scroll(dx, dy);
}

void ListView::initViewItemOption(QStyleOptionViewItem* option) const {
    QAbstractItemView::initViewItemOption(option);
    if (!iconSize().isValid()) {
        const int side = style()->pixelMetric(QStyle::PM_ListViewIconSize, nullptr, this);
        option->decorationSize = QSize(side, side);
    }
    option->decorationPosition = QStyleOptionViewItem::Left;
    option->viewItemPosition = QStyleOptionViewItem::OnlyOne;
}

void ListView::paintEvent(QPaintEvent* event) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    QStylePainter painter(viewport());
    const Rows shown = rowsMeeting(event->rect().translated(horizontalOffset(), verticalOffset()));
    const QModelIndex current = currentIndex();
    const bool focus = (hasFocus() || viewport()->hasFocus()) && current.isValid();
    const QStyle::State state = option.state;
    const bool enabled = (state & QStyle::State_Enabled) != 0;
    const int width = viewport()->width();
    for (int row = shown.first; row <= shown.last; ++row) {
        const QModelIndex index = model_->index(row);
        option.rect = visualRect(index);
        option.rect.setWidth(std::min(width, option.rect.width()));
        option.state = state;
        if (selectionModel()->isSelected(index)) {
            option.state |= QStyle::State_Selected;
        }
        if (enabled) {
            option.palette.setCurrentColorGroup(QPalette::Normal);
        }
        if (focus && current == index) {
            option.state |= QStyle::State_HasFocus;
        }
        option.state.setFlag(QStyle::State_MouseOver, index == hover_);
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}

void ListView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                           const QList<int>& roles) {
    // The next layout measures the rows again: the bold row may be the measured one.
    QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
    scheduleDelayedItemsLayout();
}

void ListView::rowsInserted(const QModelIndex& parent, int start, int end) {
    rowSize_ = QSize();
    scheduleDelayedItemsLayout();
    QAbstractItemView::rowsInserted(parent, start, end);
}

void ListView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
    QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
    rowSize_ = QSize();
    scheduleDelayedItemsLayout();
}

}  // namespace vollo::qt
