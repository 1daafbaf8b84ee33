// A window: its controls by their exact names, its handler table, the
// variables scenarios may read, and its window state (caption, position).
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/control.h"

namespace vollo {

class FormRegistry;

using Handler = std::function<void(EventArgs&)>;

struct HandlerEntry {
    Handler run;
    bool indexed = false;  // a control array's handler: EventArgs::index is the member
};

// A value a scenario can read: a number, a text or a flag.
using VarValue = std::variant<double, std::string, bool>;

class FormObserver {
  public:
    virtual ~FormObserver() = default;
    virtual void formChanged(Form& form, Prop what) = 0;
    virtual void formBroughtToFront(Form&) {}
};

class Form {
  public:
    Form(FormRegistry& registry, std::string name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return name_; }
    FormRegistry& registry() const { return registry_; }

    // Window state. Positions are the outer edges on the screen in twips; the
    // client size is the design's.
    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption);
    float left() const { return leftTwips_; }
    float top() const { return topTwips_; }
    void setLeft(float twips);
    void setTop(float twips);
    // Called by the binding when the window system moved the window.
    void windowMoved(float leftTwips, float topTwips);
    float clientWidth() const { return clientWidthTwips_; }
    float clientHeight() const { return clientHeightTwips_; }
    void setClientSize(float widthTwips, float heightTwips);
    bool visible() const { return visible_; }
    void show();
    void hide();
    void bringToFront();
    const FontSpec& font() const { return font_; }
    void setFont(const FontSpec& font);
    void setFontSize(float points);
    std::optional<DesignColor> backColor;
    std::string picture;  // background picture name
    enum class Border { Sizable, Fixed, ToolWindow } border = Border::Fixed;

    // Controls, created in design order (the binding builds them in that order).
    template <class T>
    T& add(const std::string& name, int index = -1) {
        auto control = std::make_unique<T>(*this, name, index);
        T& ref = *control;
        addControl(std::move(control));
        return ref;
    }
    Control* find(const std::string& key) const;  // "cmdAdd" or "cmdAlpha(3)"
    // Gives every control the form's font, as a window design does for
    // controls that name no font of their own.
    void useFormFontForControls();
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
    // Names in tab order, first to last (controls not named follow in design order).
    std::vector<std::string> tabOrder;

    // Handlers by their names ("cmdAdd_Click", "cmdAlpha_Click", "Form_Load").
    void on(const std::string& handlerName, Handler handler, bool indexed = false);
    const HandlerEntry* handler(const std::string& handlerName) const;
    // Runs a handler at once, nested in whatever runs now (handlers call each
    // other directly). Missing handlers do nothing; false then.
    bool call(const std::string& handlerName, EventArgs& args);
    bool call(const std::string& handlerName);
    // An event of one of this form's controls.
    void raise(Control& control, const std::string& event, EventArgs& args);

    // Variables and tables a scenario may read ("currentSong", "mediaDirs(3)").
    using VariableReader = std::function<VarValue(int index)>;
    void variable(const std::string& name, VariableReader reader);
    const VariableReader* findVariable(const std::string& name) const;

    void setObserver(FormObserver* observer) { observer_ = observer; }
    FormObserver* observer() const { return observer_; }

  protected:
    void changed(Prop what);

  private:
    void addControl(std::unique_ptr<Control> control);

    FormRegistry& registry_;
    std::string name_;
    std::string caption_;
    float leftTwips_ = 0, topTwips_ = 0;
    float clientWidthTwips_ = 0, clientHeightTwips_ = 0;
    bool visible_ = false;
    FontSpec font_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::map<std::string, Control*> byKey_;
    std::map<std::string, HandlerEntry> handlers_;
    std::map<std::string, VariableReader> variables_;
    FormObserver* observer_ = nullptr;
};

}  // namespace vollo
