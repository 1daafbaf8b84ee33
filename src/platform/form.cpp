#include "platform/form.h"

#include "platform/form_registry.h"

namespace vollo {

Form::Form(FormRegistry& registry, std::string name)
    : registry_(registry),
      name_(std::move(name)) {}

Form::~Form() = default;

void Form::changed(Prop what) {
    if (observer_) {
        observer_->formChanged(*this, what);
    }
}

void Form::setCaption(const std::string& caption) {
    caption_ = caption;
    changed(Prop::Text);
}

void Form::setLeft(float twips) {
    leftTwips_ = twips;
    changed(Prop::Geometry);
}

void Form::setTop(float twips) {
    topTwips_ = twips;
    changed(Prop::Geometry);
}

void Form::windowMoved(float leftTwips, float topTwips) {
    leftTwips_ = leftTwips;
    topTwips_ = topTwips;
}

void Form::setClientSize(float widthTwips, float heightTwips) {
    clientWidthTwips_ = widthTwips;
    clientHeightTwips_ = heightTwips;
    changed(Prop::Geometry);
}

void Form::show() {
    visible_ = true;
    changed(Prop::Visible);
}

void Form::hide() {
    visible_ = false;
    changed(Prop::Visible);
}

void Form::bringToFront() {
    if (observer_) {
        observer_->formBroughtToFront(*this);
    }
}

void Form::setFont(const FontSpec& font) {
    font_ = font;
    changed(Prop::Font);
}

void Form::setFontSize(float points) {
    font_.sizePoints = points;
    changed(Prop::Font);
}

void Form::addControl(std::unique_ptr<Control> control) {
    byKey_[control->key()] = control.get();
    if (control->index() < 0) {
        byKey_[control->name()] = control.get();
    }
    controls_.push_back(std::move(control));
}

Control* Form::find(const std::string& key) const {
    const auto it = byKey_.find(key);
    return it == byKey_.end() ? nullptr : it->second;
}

void Form::useFormFontForControls() {
    for (const auto& control : controls_) {
        control->setFont(font_);
    }
}

void Form::on(const std::string& handlerName, Handler handler, bool indexed) {
    handlers_[handlerName] = HandlerEntry{std::move(handler), indexed};
}

const HandlerEntry* Form::handler(const std::string& handlerName) const {
    const auto it = handlers_.find(handlerName);
    return it == handlers_.end() ? nullptr : &it->second;
}

bool Form::call(const std::string& handlerName, EventArgs& args) {
    if (registry_.ended()) {
        return false;
    }
    const HandlerEntry* entry = handler(handlerName);
    if (!entry) {
        return false;
    }
    // Copy: the handler may unload this form, but the object lives until the
    // top-level event returns.
    Handler run = entry->run;
    run(args);
    return true;
}

bool Form::call(const std::string& handlerName) {
    EventArgs args;
    return call(handlerName, args);
}

void Form::raise(Control& control, const std::string& event, EventArgs& args) {
    args.index = control.index();
    call(control.name() + "_" + event, args);
}

void Form::variable(const std::string& name, VariableReader reader) {
    variables_[name] = std::move(reader);
}

const Form::VariableReader* Form::findVariable(const std::string& name) const {
    const auto it = variables_.find(name);
    return it == variables_.end() ? nullptr : &it->second;
}

}  // namespace vollo
