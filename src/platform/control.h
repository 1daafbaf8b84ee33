// Toolkit-neutral controls. A control holds its own state (text, items,
// selection, position and size in twips, ...) and tells its observer when that
// state changes; the Qt binding is that observer. Events a control raises go
// to its form's handler table ("cmdAdd" + "Click" runs `cmdAdd_Click`).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/text_list.h"

namespace vollo {

class Form;
class Control;

enum class ControlKind {
    ListBox,
    TextBox,
    Label,
    CommandButton,
    CheckBox,
    Menu,
    Frame,
    Picture,
    Timer,
    DirList,
    DriveList,
    FileDialog,
};

// What changed, for observers.
enum class Prop {
    Geometry,
    Visible,
    Enabled,
    Text,  // Text, Caption
    Value,
    Checked,
    Font,
    ToolTip,
    Colors,
    Picture,
    Items,  // see ListChange for the detail
    Selection,
    Path,
    Drive,
    TopIndex,
};

struct FontSpec {
    std::string name = "Tahoma";
    float sizePoints = 8.25f;
    bool bold = false;
};

// Colours as the window design writes them: &H00BBGGRR.
using DesignColor = std::uint32_t;

// One argument of an event or handler call.
using Arg = std::variant<double, std::string, Control*>;

struct EventArgs {
    int index = -1;  // the control-array index, -1 for a single control
    std::vector<Arg> args;
    int cancel = 0;  // out-parameter of Form_Unload

    double number(size_t i) const;
    Control* control(size_t i) const;
};

class ListBox;

struct ListChange {
    enum Kind { Reset, Inserted, Removed } kind = Reset;
    int first = 0;
    int count = 0;
};

class ControlObserver {
  public:
    virtual ~ControlObserver() = default;
    virtual void propertyChanged(Control& control, Prop what) = 0;
    virtual void listChanged(ListBox&, const ListChange&) {}
};

class Control {
  public:
    Control(Form& form, ControlKind kind, std::string name, int index);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    int index() const { return index_; }
    // "cmdAlpha(3)" for an array member, the name otherwise.
    std::string key() const;
    Form& form() const { return form_; }

    // The frame or panel this control stands in; positions are relative to it.
    Control* container() const { return container_; }
    void setContainer(Control* container) { container_ = container; }

    float left() const { return leftTwips_; }
    float top() const { return topTwips_; }
    float width() const { return widthTwips_; }
    float height() const { return heightTwips_; }
    void setLeft(float twips);
    void setTop(float twips);
    void setWidth(float twips);
    void setHeight(float twips);
    void move(float leftTwips, float topTwips, float widthTwips, float heightTwips);

    bool visible() const { return visible_; }
    void setVisible(bool visible);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    const FontSpec& font() const { return font_; }
    void setFont(const FontSpec& font);
    void setFontSize(float points);

    const std::string& toolTipText() const { return toolTip_; }
    void setToolTipText(const std::string& text);

    std::optional<DesignColor> foreColor() const { return foreColor_; }
    std::optional<DesignColor> backColor() const { return backColor_; }
    void setColors(std::optional<DesignColor> fore, std::optional<DesignColor> back);

    // A picture the binding draws, by name ("play", "knob", ...); "" for none.
    const std::string& picture() const { return picture_; }
    void setPicture(const std::string& name);

    // Text shown by labels, buttons, check boxes, menus and frames; a text box's text.
    const std::string& caption() const { return caption_; }
    virtual void setCaption(const std::string& text);

    void setObserver(ControlObserver* observer) { observer_ = observer; }
    ControlObserver* observer() const { return observer_; }

    // Raises control name + "_" + event on the form's handler table.
    void raise(const std::string& event, EventArgs& args);
    void raise(const std::string& event);

  protected:
    void changed(Prop what);

    std::string caption_;

  private:
    Form& form_;
    ControlKind kind_;
    std::string name_;
    int index_;
    Control* container_ = nullptr;
    float leftTwips_ = 0, topTwips_ = 0, widthTwips_ = 0, heightTwips_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    FontSpec font_;
    std::string toolTip_;
    std::optional<DesignColor> foreColor_, backColor_;
    std::string picture_;
    ControlObserver* observer_ = nullptr;
};

class Label : public Control {
  public:
    Label(Form& form, std::string name, int index = -1)
        : Control(form, ControlKind::Label, std::move(name), index) {}
    enum class Align { Left, Right, Center };
    Align alignment = Align::Left;
};

class CommandButton : public Control {
  public:
    CommandButton(Form& form, std::string name, int index = -1)
        : Control(form, ControlKind::CommandButton, std::move(name), index) {}
    // The user pressed the button (the binding never calls this while disabled).
    void click() { raise("Click"); }
    // Enter in the button's window presses the default button, Escape the cancel button.
    bool isDefault = false;
    bool isCancel = false;
    // The button is shown held down while this returns true (read after every event).
    std::function<bool()> shownDown;
};

class Frame : public Control {
  public:
    Frame(Form& form, std::string name, int index = -1)
        : Control(form, ControlKind::Frame, std::move(name), index) {}
    bool border = false;
};

// Picture box or image: shows a picture, receives presses and drops.
class Picture : public Control {
  public:
    Picture(Form& form, std::string name, int index = -1)
        : Control(form, ControlKind::Picture, std::move(name), index) {}
    // The toolkit's automatic drag-and-drop: a press starts a drag of this control.
    bool dragAutomatic = false;
};

class TextBox : public Control {
  public:
    TextBox(Form& form, std::string name, int index = -1)
        : Control(form, ControlKind::TextBox, std::move(name), index) {}
    const std::string& text() const { return caption_; }
    // Raises Change when the text really changes.
    void setText(const std::string& text);
    void setCaption(const std::string& text) override { setText(text); }
};

class CheckBox : public Control {
  public:
    CheckBox(Form& form, std::string name, int index = -1)
        : Control(form, ControlKind::CheckBox, std::move(name), index) {}
    int value() const { return value_; }
    // 0 clear, 1 set, 2 grayed; raises Click when the value really changes.
    // Values outside 0..2 are refused (false, nothing changes).
    bool setValue(int value);

  private:
    int value_ = 0;
};

class MenuEntry : public Control {
  public:
    MenuEntry(Form& form, std::string name, int index = -1)
        : Control(form, ControlKind::Menu, std::move(name), index) {}
    bool checked() const { return checked_; }
    void setChecked(bool checked);
    bool isSeparator() const { return caption_ == "-"; }
    // The entries of a top-level menu, in order.
    std::vector<MenuEntry*> entries;
    void click() { raise("Click"); }

  private:
    bool checked_ = false;
};

class Timer : public Control {
  public:
    Timer(Form& form, std::string name, int index = -1)
        : Control(form, ControlKind::Timer, std::move(name), index) {}
    int intervalMs = 0;
    void tick() { raise("Timer"); }
};

// A list of texts with extended multi-selection; sorted lists keep their
// items in the sorted-list order (see text.h) and insert each new item there.
// The texts are kept in a TextList, which several lists may share.
class ListBox : public Control {
  public:
    ListBox(Form& form, std::string name, int index = -1)
        : Control(form, ControlKind::ListBox, std::move(name), index) {}
    bool sorted = false;
    // Enter in the list raises DblClick, as a double-click does.
    bool enterActivates = false;
    // The row shown in bold, -1 for none (read after every event; the texts are unchanged).
    std::function<int()> boldRow;

    int listCount() const { return static_cast<int>(items_.size()); }
    std::string list(int i) const { return std::string(text(i)); }
    // Row i's text without a copy (valid until the list changes).
    std::string_view text(int i) const;
    const TextList& texts() const { return items_; }
    std::vector<std::string> items() const { return items_.strings(); }

    // Appends (unsorted) or inserts at the sorted place; returns the new index.
    int addItem(const std::string& text);
    // Inserts at index (0..count); the new item is not selected.
    void insertItem(int index, const std::string& text);
    void removeItem(int index);
    void clear();
    // Replaces every item at once, nothing selected (the caller keeps any order).
    void assign(std::vector<std::string> items);
    void assignTexts(TextList items);

    bool selected(int i) const { return selected_.at(static_cast<size_t>(i)) != 0; }
    void setSelected(int i, bool selected);
    // Exactly these rows become selected.
    void setSelection(const std::vector<int>& rows);
    int selCount() const { return selCount_; }
    std::vector<int> selectedRows() const;
    const std::vector<char>& selectionFlags() const { return selected_; }

    // First row shown; the binding scrolls there.
    int topIndex() const { return topIndex_; }
    void setTopIndex(int row);

  private:
    TextList items_;
    std::vector<char> selected_;
    int selCount_ = 0;
    int topIndex_ = 0;
};

// The folders of the current path; double-click opens one.
class DirList : public Control {
  public:
    DirList(Form& form, std::string name, int index = -1)
        : Control(form, ControlKind::DirList, std::move(name), index) {}
    // Full path without a trailing "/", except the root "/".
    const std::string& path() const { return path_; }
    // Opens path when it names a readable directory and raises Change;
    // otherwise keeps the old path and returns false.
    bool setPath(const std::string& path);
    const std::vector<std::string>& folders() const { return folders_; }
    // Double-click on folder row i opens it.
    bool openFolder(int row);

  private:
    std::string path_;
    std::vector<std::string> folders_;
};

// The root "/" and the mounted file systems.
class DriveList : public Control {
  public:
    DriveList(Form& form, std::string name, int index = -1)
        : Control(form, ControlKind::DriveList, std::move(name), index) {}
    const std::string& drive() const { return drive_; }
    // Selects a drive and raises Change when it changes.
    void setDrive(const std::string& drive);
    const std::vector<std::string>& drives() const { return drives_; }
    void refresh();

  private:
    std::string drive_;
    std::vector<std::string> drives_;
};

// The common file dialog: title, file name, filter; shown through the
// application's file-dialog service.
class FileDialog : public Control {
  public:
    FileDialog(Form& form, std::string name, int index = -1)
        : Control(form, ControlKind::FileDialog, std::move(name), index) {}
    std::string fileName;
    std::string dialogTitle;
    std::string filter;  // "Playlists|*.m3u"
    // Show for opening or saving; a cancel leaves fileName as it was.
    void showOpen();
    void showSave();
};

}  // namespace vollo
