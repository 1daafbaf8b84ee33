#include "platform/qt/widgets.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyledItemDelegate>

#include "platform/qt/form_window.h"
#include "platform/qt/pictures.h"
#include "platform/qt/qt_style.h"

namespace vollo::qt {

namespace {

constexpr int kIndentRole = Qt::UserRole + 1;

// Rows of the folder list stand indented by their depth, icon and all.
class IndentDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem shifted(option);
        shifted.rect.adjust(indent(index), 0, 0, 0);
        QStyledItemDelegate::paint(painter, shifted, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(index), 0);
    }

  private:
    static int indent(const QModelIndex& index) { return 10 * index.data(kIndentRole).toInt(); }
};

}  // namespace

LineEdit::LineEdit(FormWindow& window, TextBox& box, QWidget* parent)
    : QLineEdit(parent),
      window_(window),
      box_(&box) {
    setFrame(true);
    connect(this, &QLineEdit::textEdited, this, &LineEdit::userEdited);
}

void LineEdit::syncFromControl() {
    if (!box_) {
        return;
    }
    const QString shown = shownText(box_->text());
    if (text() != shown) {
        // As a text set by code: the caret at the start, the text's beginning in view.
        setText(shown);
        setCursorPosition(0);
    }
}

void LineEdit::keyPressEvent(QKeyEvent* event) {
    QPointer<LineEdit> self(this);
    if (box_) {
        window_.raiseKeyDown(*box_, *event);
    }
    if (self && box_) {
        QLineEdit::keyPressEvent(event);
    }
}

void LineEdit::userEdited(const QString& text) {
    if (!box_) {
        return;
    }
    QPointer<LineEdit> self(this);
    TextBox* box = box_;
    const std::string bytes = bytesOf(text);
    window_.run([box, &bytes] { box->setText(bytes); });
    // A refused edit (another handler runs) or a handler that changed the text
    // again: the box shows the control's text.
    if (self) {
        syncFromControl();
    }
}

Surface::Surface(QWidget* parent)
    : QWidget(parent) {}

void Surface::setBackColor(const QColor& color) {
    back_ = color;
    update();
}

void Surface::setPicture(const std::string& name) {
    picture_ = name;
    update();
}

void Surface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (back_.isValid()) {
        painter.fillRect(rect(), back_);
    }
    if (!picture_.empty()) {
        paintPicture(painter, rect(), picture_);
    }
}

PictureWidget::PictureWidget(FormWindow& window, Picture& picture, QWidget* parent)
    : Surface(parent),
      window_(window),
      control_(&picture) {}

void PictureWidget::mousePressEvent(QMouseEvent* event) {
    if (!control_) {
        return;
    }
    if (control_->dragAutomatic) {
        // The automatic drag starts at once; the control itself gets no press.
        if (event->button() == Qt::LeftButton) {
            window_.startDrag(*control_, *this, event->position().toPoint());
        }
        return;
    }
    window_.raiseMouse(*control_, "MouseDown", *event);
}

DirListWidget::DirListWidget(FormWindow& window, DirList& dir, QWidget* parent)
    : QListWidget(parent),
      window_(window),
      dir_(&dir) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setItemDelegate(new IndentDelegate(this));
}

namespace {

// The folders from the root down to path: "/", "/home", "/home/me".
std::vector<std::string> foldersDownTo(const std::string& path) {
    std::vector<std::string> chain{"/"};
    for (size_t i = 1; i <= path.size(); ++i) {
        if ((i == path.size() || path[i] == '/') && path[i - 1] != '/') {
            chain.push_back(path.substr(0, i));
        }
    }
    return chain;
}

}  // namespace

void DirListWidget::syncFromControl() {
    clear();
    ancestors_ = 0;
    if (!dir_ || dir_->path().empty()) {
        return;
    }
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirIcon);
    int depth = 0;
    for (const std::string& folder : foldersDownTo(dir_->path())) {
        const std::string name = folder == "/" ? "/" : folder.substr(folder.rfind('/') + 1);
        auto* item = new QListWidgetItem(openIcon, shownText(name));
        item->setData(kIndentRole, depth++);
        addItem(item);
    }
    ancestors_ = count();
    for (const std::string& folder : dir_->folders()) {
        auto* item = new QListWidgetItem(closedIcon, shownText(folder));
        item->setData(kIndentRole, depth);
        addItem(item);
    }
    setCurrentRow(ancestors_ - 1);
}

void DirListWidget::open(int row) {
    if (!dir_ || row < 0 || row >= count()) {
        return;
    }
    DirList* dir = dir_;
    if (row < ancestors_) {
        // The path's own folders are rebuilt from its bytes, not from the shown text.
        const std::string target = foldersDownTo(dir->path()).at(static_cast<size_t>(row));
        window_.run([dir, target] { dir->setPath(target); });
    } else {
        const int folder = row - ancestors_;
        window_.run([dir, folder] { dir->openFolder(folder); });
    }
}

void DirListWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    QPointer<DirListWidget> self(this);
    const QModelIndex index = indexAt(event->position().toPoint());
    QListWidget::mouseDoubleClickEvent(event);
    if (self && index.isValid()) {
        open(index.row());
    }
}

void DirListWidget::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
        open(currentRow());
        return;
    }
    QListWidget::keyPressEvent(event);
}

}  // namespace vollo::qt
