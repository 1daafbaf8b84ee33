#include "platform/control.h"

#include <algorithm>
#include <stdexcept>

#include "platform/files.h"
#include "platform/form.h"
#include "platform/form_registry.h"
#include "platform/text.h"

namespace vollo {

double EventArgs::number(size_t i) const {
    if (i >= args.size()) {
        return 0.0;
    }
    if (const auto* d = std::get_if<double>(&args[i])) {
        return *d;
    }
    if (const auto* s = std::get_if<std::string>(&args[i])) {
        return numericPrefix(*s);
    }
    return 0.0;
}

Control* EventArgs::control(size_t i) const {
    if (i >= args.size()) {
        return nullptr;
    }
    if (const auto* c = std::get_if<Control*>(&args[i])) {
        return *c;
    }
    return nullptr;
}

Control::Control(Form& form, ControlKind kind, std::string name, int index)
    : form_(form),
      kind_(kind),
      name_(std::move(name)),
      index_(index) {}

Control::~Control() = default;

std::string Control::key() const {
    return index_ < 0 ? name_ : name_ + "(" + std::to_string(index_) + ")";
}

void Control::changed(Prop what) {
    if (observer_) {
        observer_->propertyChanged(*this, what);
    }
}

void Control::setLeft(float twips) {
    move(twips, topTwips_, widthTwips_, heightTwips_);
}
void Control::setTop(float twips) {
    move(leftTwips_, twips, widthTwips_, heightTwips_);
}
void Control::setWidth(float twips) {
    move(leftTwips_, topTwips_, twips, heightTwips_);
}
void Control::setHeight(float twips) {
    move(leftTwips_, topTwips_, widthTwips_, twips);
}

void Control::move(float leftTwips, float topTwips, float widthTwips, float heightTwips) {
    if (leftTwips == leftTwips_ && topTwips == topTwips_ && widthTwips == widthTwips_ &&
        heightTwips == heightTwips_) {
        return;
    }
    leftTwips_ = leftTwips;
    topTwips_ = topTwips;
    widthTwips_ = std::max(0.0f, widthTwips);
    heightTwips_ = std::max(0.0f, heightTwips);
    changed(Prop::Geometry);
}

void Control::setVisible(bool visible) {
    if (visible_ != visible) {
        visible_ = visible;
        changed(Prop::Visible);
    }
}

void Control::setEnabled(bool enabled) {
    if (enabled_ != enabled) {
        enabled_ = enabled;
        changed(Prop::Enabled);
    }
}

void Control::setFont(const FontSpec& font) {
    font_ = font;
    changed(Prop::Font);
}

void Control::setFontSize(float points) {
    font_.sizePoints = points;
    changed(Prop::Font);
}

void Control::setToolTipText(const std::string& text) {
    toolTip_ = text;
    changed(Prop::ToolTip);
}

void Control::setColors(std::optional<DesignColor> fore, std::optional<DesignColor> back) {
    foreColor_ = fore;
    backColor_ = back;
    changed(Prop::Colors);
}

void Control::setPicture(const std::string& name) {
    picture_ = name;
    changed(Prop::Picture);
}

void Control::setCaption(const std::string& text) {
    if (caption_ != text) {
        caption_ = text;
        changed(Prop::Text);
    }
}

void Control::raise(const std::string& event, EventArgs& args) {
    form_.raise(*this, event, args);
}

void Control::raise(const std::string& event) {
    EventArgs args;
    raise(event, args);
}

void TextBox::setText(const std::string& text) {
    if (caption_ == text) {
        return;
    }
    caption_ = text;
    changed(Prop::Text);
    raise("Change");
}

bool CheckBox::setValue(int value) {
    if (value < 0 || value > 2) {
        return false;
    }
    if (value_ != value) {
        value_ = value;
        changed(Prop::Value);
        raise("Click");
    }
    return true;
}

void MenuEntry::setChecked(bool checked) {
    if (checked_ != checked) {
        checked_ = checked;
        changed(Prop::Checked);
    }
}

std::string_view ListBox::text(int i) const {
    if (i < 0 || i >= listCount()) {
        throw std::out_of_range("ListBox: no row " + std::to_string(i));
    }
    return items_[static_cast<size_t>(i)];
}

int ListBox::addItem(const std::string& text) {
    int index = listCount();
    if (sorted) {
        // The first row the new text sorts before.
        size_t first = 0;
        size_t last = items_.size();
        while (first < last) {
            const size_t middle = first + (last - first) / 2;
            if (sortedLess(text, items_[middle])) {
                last = middle;
            } else {
                first = middle + 1;
            }
        }
        index = static_cast<int>(first);
    }
    insertItem(index, text);
    return index;
}

void ListBox::insertItem(int index, const std::string& text) {
    index = std::clamp(index, 0, listCount());
    items_.insert(static_cast<size_t>(index), text);
    selected_.insert(selected_.begin() + index, 0);
    if (observer()) {
        observer()->listChanged(*this, {ListChange::Inserted, index, 1});
    }
}

void ListBox::removeItem(int index) {
    if (index < 0 || index >= listCount()) {
        return;
    }
    if (selected_[static_cast<size_t>(index)]) {
        --selCount_;
    }
    items_.erase(static_cast<size_t>(index));
    selected_.erase(selected_.begin() + index);
    if (observer()) {
        observer()->listChanged(*this, {ListChange::Removed, index, 1});
    }
}

void ListBox::clear() {
    assignTexts(TextList());
}

void ListBox::assign(std::vector<std::string> items) {
    assignTexts(TextList(items));
}

void ListBox::assignTexts(TextList items) {
    items_ = std::move(items);
    selected_.assign(items_.size(), 0);
    selCount_ = 0;
    topIndex_ = 0;
    if (observer()) {
        observer()->listChanged(*this, {ListChange::Reset, 0, listCount()});
    }
}

void ListBox::setSelected(int i, bool selected) {
    if (i < 0 || i >= listCount()) {
        return;
    }
    char& flag = selected_[static_cast<size_t>(i)];
    if ((flag != 0) == selected) {
        return;
    }
    flag = selected ? 1 : 0;
    selCount_ += selected ? 1 : -1;
    changed(Prop::Selection);
}

void ListBox::setSelection(const std::vector<int>& rows) {
    std::fill(selected_.begin(), selected_.end(), 0);
    selCount_ = 0;
    for (int row : rows) {
        if (row >= 0 && row < listCount() && !selected_[static_cast<size_t>(row)]) {
            selected_[static_cast<size_t>(row)] = 1;
            ++selCount_;
        }
    }
    changed(Prop::Selection);
}

std::vector<int> ListBox::selectedRows() const {
    std::vector<int> rows;
    rows.reserve(static_cast<size_t>(selCount_));
    for (size_t i = 0; i < selected_.size(); ++i) {
        if (selected_[i]) {
            rows.push_back(static_cast<int>(i));
        }
    }
    return rows;
}

void ListBox::setTopIndex(int row) {
    topIndex_ = std::max(0, row);
    changed(Prop::TopIndex);
}

namespace {

FolderService& foldersOf(Control& control) {
    static LocalFolders machine;
    FolderService* folders = control.form().registry().services().folders;
    return folders ? *folders : machine;
}

}  // namespace

bool DirList::setPath(const std::string& path) {
    std::string normal = path;
    while (normal.size() > 1 && normal.back() == '/') {
        normal.pop_back();
    }
    FolderService& folders = foldersOf(*this);
    if (normal.empty() || !folders.isDirectory(normal)) {
        return false;
    }
    normal = absolutePath(normal);
    folders_ = folders.subdirectories(normal);
    const bool moved = normal != path_;
    path_ = normal;
    changed(Prop::Path);
    if (moved) {
        raise("Change");
    }
    return true;
}

bool DirList::openFolder(int row) {
    if (row < 0 || row >= static_cast<int>(folders_.size())) {
        return false;
    }
    return setPath((path_ == "/" ? "" : path_) + "/" + folders_[static_cast<size_t>(row)]);
}

void DriveList::refresh() {
    drives_ = foldersOf(*this).mountPoints();
    changed(Prop::Items);
}

void DriveList::setDrive(const std::string& drive) {
    if (drive_ == drive) {
        return;
    }
    drive_ = drive;
    changed(Prop::Drive);
    raise("Change");
}

void FileDialog::showOpen() {
    auto* service = form().registry().services().fileDialog;
    if (!service) {
        return;
    }
    if (auto chosen = service->open({dialogTitle, fileName, filter})) {
        fileName = *chosen;
    }
}

void FileDialog::showSave() {
    auto* service = form().registry().services().fileDialog;
    if (!service) {
        return;
    }
    if (auto chosen = service->save({dialogTitle, fileName, filter})) {
        fileName = *chosen;
    }
}

}  // namespace vollo
