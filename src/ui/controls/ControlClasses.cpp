#include "ui/controls/ControlClasses.hpp"

#include <utility>

namespace zil {

void ControlClassRegistry::registerToolkitClasses(const RegistrationSteps& steps) {
    using C = ControlClass;
    static constexpr std::pair<std::string_view, C> classes[] = {
        {"VuqFrameForChild", C::FrameForChild},
        {"VuqVertScrollBar", C::VertScrollBar},
        {"VuqFramedVertScrollBar", C::FramedVertScrollBar},
        {"VuqVertScrollArea", C::VertScrollArea},
        {"VuqSelectionStrings", C::SelectionStrings},
        {"VuqListBox", C::ListBox},
        {"VuqFramedListBox", C::FramedListBox},
        {"VuqFileBrowseListBox", C::FileBrowseListBox},
        {"VuqFieldTabulator", C::FieldTabulator},
        {"VuqTabBookPage", C::TabBookPage},
        {"VuqTabBook", C::TabBook},
        {"VuqTabIndex", C::TabIndex},
        {"VuqHorizScrollBar", C::HorizScrollBar},
        {"VuqFramedHorizScrollBar", C::FramedHorizScrollBar},
        {"VuqPushAction", C::PushAction},
        {"VuqButtonView", C::ButtonView},
        {"VuqPushButton", C::PushButton},
        {"VuqFramedPushButton", C::FramedPushButton},
        {"VuqImageButton", C::ImageButton},
        {"VuqFramedButtonView", C::FramedButtonView},
        {"VuqCheckBoxView", C::CheckBoxView},
        {"VuqTextEdit", C::TextEdit},
        {"VuqFramedTextEdit", C::FramedTextEdit},
        {"VuqImportantTextLabel", C::ImportantTextLabel},
        {"VuqControlFrame", C::ControlFrame},
        {"VuqTextLabel", C::TextLabel},
        {"VuqPopupWindow", C::PopupWindow},
        {"VuqOKDialog", C::OKDialog},
    };
    for (const auto& [name, number] : classes) {
        if (number == C::TextEdit && steps.beforeTextEdit) steps.beforeTextEdit();
        registerClass(name, number);
        if (number == C::FrameForChild && steps.afterFrameForChild) steps.afterFrameForChild();
    }
    topLevel_ = topLevel_.insert("VuqNoBackgroundWindow", true);
}

void ControlClassRegistry::registerClass(std::string_view name, ControlClass number) {
    classes_ = classes_.insert(name, number);
}

std::optional<ControlClass> ControlClassRegistry::findClass(std::string_view name) const {
    const ControlClass* found = classes_.lookup(name);
    return found ? std::optional<ControlClass>(*found) : std::nullopt;
}

}  // namespace zil
