#include "notice_mirror.h"

#include <sstream>

namespace vollo::scenario {
namespace {

const std::vector<Prop> kFormProps = {Prop::Text, Prop::Geometry, Prop::Visible, Prop::Font};

std::string number(float value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

std::string font(const FontSpec& f) {
    return f.name + " " + number(f.sizePoints) + (f.bold ? " bold" : "");
}

std::string color(std::optional<DesignColor> c) {
    return c ? std::to_string(*c) : "default";
}

const char* propName(Prop what) {
    switch (what) {
        case Prop::Geometry:
            return "place or size";
        case Prop::Visible:
            return "visibility";
        case Prop::Enabled:
            return "enabled state";
        case Prop::Text:
            return "text";
        case Prop::Value:
            return "value";
        case Prop::Checked:
            return "check mark";
        case Prop::Font:
            return "font";
        case Prop::ToolTip:
            return "tooltip";
        case Prop::Colors:
            return "colours";
        case Prop::Picture:
            return "picture";
        case Prop::Items:
            return "rows";
        case Prop::Selection:
            return "selection";
        case Prop::Path:
            return "path";
        case Prop::Drive:
            return "drive";
        case Prop::TopIndex:
            return "top row";
    }
    return "?";
}

// Compares without copying the rows: the library may hold many.
bool sameRows(const std::vector<std::string>& told, const Control& control) {
    const auto& list = static_cast<const ListBox&>(control);
    if (std::ssize(told) != list.listCount()) {
        return false;
    }
    for (int i = 0; i < list.listCount(); ++i) {
        if (told[static_cast<size_t>(i)] != list.text(i)) {
            return false;
        }
    }
    return true;
}

}  // namespace

NoticeMirror::~NoticeMirror() = default;

std::vector<std::string> NoticeMirror::read(const Form& form, Prop what) {
    switch (what) {
        case Prop::Text:
            return {form.caption()};
        case Prop::Geometry:
            return {number(form.left()), number(form.top()), number(form.clientWidth()),
                    number(form.clientHeight())};
        case Prop::Visible:
            return {form.visible() ? "shown" : "hidden"};
        case Prop::Font:
            return {font(form.font())};
        default:
            return {};
    }
}

std::vector<Prop> NoticeMirror::propsOf(const Control& control) {
    std::vector<Prop> props = {Prop::Geometry, Prop::Visible, Prop::Enabled, Prop::Text,
                               Prop::Font,     Prop::ToolTip, Prop::Colors,  Prop::Picture};
    switch (control.kind()) {
        case ControlKind::CheckBox:
            props.push_back(Prop::Value);
            break;
        case ControlKind::Menu:
            props.push_back(Prop::Checked);
            break;
        case ControlKind::ListBox:
            props.insert(props.end(), {Prop::Items, Prop::Selection, Prop::TopIndex});
            break;
        case ControlKind::DirList:
            props.push_back(Prop::Path);
            break;
        case ControlKind::DriveList:
            props.insert(props.end(), {Prop::Items, Prop::Drive});
            break;
        default:
            break;
    }
    return props;
}

std::vector<std::string> NoticeMirror::read(const Control& control, Prop what) {
    switch (what) {
        case Prop::Geometry:
            return {number(control.left()), number(control.top()), number(control.width()),
                    number(control.height())};
        case Prop::Visible:
            return {control.visible() ? "shown" : "hidden"};
        case Prop::Enabled:
            return {control.enabled() ? "enabled" : "disabled"};
        case Prop::Text:
            return {control.caption()};
        case Prop::Font:
            return {font(control.font())};
        case Prop::ToolTip:
            return {control.toolTipText()};
        case Prop::Colors:
            return {color(control.foreColor()), color(control.backColor())};
        case Prop::Picture:
            return {control.picture()};
        case Prop::Value:
            return {std::to_string(static_cast<const CheckBox&>(control).value())};
        case Prop::Checked:
            return {static_cast<const MenuEntry&>(control).checked() ? "checked" : "unchecked"};
        case Prop::Items:
            if (control.kind() == ControlKind::DriveList) {
                return static_cast<const DriveList&>(control).drives();
            }
            return static_cast<const ListBox&>(control).items();
        case Prop::Selection: {
            std::vector<std::string> rows;
            for (int row : static_cast<const ListBox&>(control).selectedRows()) {
                rows.push_back(std::to_string(row));
            }
            return rows;
        }
        case Prop::TopIndex:
            return {std::to_string(static_cast<const ListBox&>(control).topIndex())};
        case Prop::Path: {
            const auto& dirs = static_cast<const DirList&>(control);
            std::vector<std::string> shown = dirs.folders();
            shown.push_back(dirs.path());
            return shown;
        }
        case Prop::Drive:
            return {static_cast<const DriveList&>(control).drive()};
    }
    return {};
}

void NoticeMirror::formCreated(Form& form) {
    form.setObserver(this);
    for (Prop what : kFormProps) {
        forms_[&form][what] = read(form, what);
    }
    for (const auto& control : form.controls()) {
        control->setObserver(this);
        for (Prop what : propsOf(*control)) {
            controls_[control.get()][what] = read(*control, what);
        }
    }
}

void NoticeMirror::formUnloaded(Form& form) {
    forms_.erase(&form);
    for (const auto& control : form.controls()) {
        controls_.erase(control.get());
    }
}

void NoticeMirror::formChanged(Form& form, Prop what) {
    auto it = forms_.find(&form);
    if (it != forms_.end()) {
        it->second[what] = read(form, what);
    }
}

void NoticeMirror::propertyChanged(Control& control, Prop what) {
    auto it = controls_.find(&control);
    if (it != controls_.end()) {
        it->second[what] = read(control, what);
    }
}

void NoticeMirror::listChanged(ListBox& list, const ListChange& change) {
    auto it = controls_.find(&list);
    if (it == controls_.end()) {
        return;
    }
    auto& rows = it->second[Prop::Items];
    const auto at = rows.begin() + std::min<std::ptrdiff_t>(change.first, std::ssize(rows));
    switch (change.kind) {
        case ListChange::Inserted:
            for (int i = 0; i < change.count; ++i) {
                rows.insert(at + i, list.list(change.first + i));
            }
            break;
        case ListChange::Removed:
            rows.erase(at, at + std::min<std::ptrdiff_t>(change.count, rows.end() - at));
            break;
        case ListChange::Reset:
            rows = list.items();
            // A view shows a new list from its top.
            it->second[Prop::TopIndex] = read(list, Prop::TopIndex);
            break;
    }
    // A view follows the rows with its selection and reads it again afterwards.
    it->second[Prop::Selection] = read(list, Prop::Selection);
}

std::string NoticeMirror::difference() const {
    for (const auto& [form, shown] : forms_) {
        for (const auto& [what, told] : shown) {
            if (told != read(*form, what)) {
                return form->name() + ": its " + propName(what) + " changed without a notice to the window";
            }
        }
    }
    for (const auto& [control, shown] : controls_) {
        for (const auto& [what, told] : shown) {
            if (what == Prop::Items && control->kind() == ControlKind::ListBox
                    ? !sameRows(told, *control)
                    : told != read(*control, what)) {
                return control->form().name() + "." + control->key() + ": its " + propName(what) +
                       " changed without a notice to the window";
            }
        }
    }
    return "";
}

}  // namespace vollo::scenario
