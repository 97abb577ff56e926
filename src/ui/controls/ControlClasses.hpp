#pragma once
// The control classes: a class is its number. The registry maps the class
// names of the UI description to numbers in two tables, one for the classes
// that stand inside a window and one for the top-level window class; the
// factory (UIXMLBuild::createControl) builds a class's controls from its
// number. Names are case-sensitive byte strings matched whole.
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "shell/StringTree.hpp"

namespace zil {

enum class ControlClass : std::int32_t {
    OKDialog = 0,
    TextLabel = 1,
    ImportantTextLabel = 2,
    TextEdit = 3,
    FramedButtonView = 4,
    FramedPushButton = 5,
    ButtonView = 6,
    FramedHorizScrollBar = 7,
    TabIndex = 8,
    TabBookPage = 9,
    FileBrowseListBox = 10,
    ListBox = 11,
    VertScrollArea = 12,
    VertScrollBar = 13,
    FrameForChild = 14,
    FramedVertScrollBar = 15,
    SelectionStrings = 16,
    FramedListBox = 17,
    FieldTabulator = 18,
    TabBook = 19,
    HorizScrollBar = 20,
    PushAction = 21,
    PushButton = 22,
    ImageButton = 23,
    CheckBoxView = 24,
    FramedTextEdit = 25,
    ControlFrame = 26,
    PopupWindow = 27,
    ZilBrovDemo1 = 28,  // registered by the demo itself
};

// What start-up does between registrations: right after the first class,
// VuqFrameForChild, and right before VuqTextEdit. An empty step does
// nothing.
struct RegistrationSteps {
    std::function<void()> afterFrameForChild;
    std::function<void()> beforeTextEdit;
};

class ControlClassRegistry {
public:
    // Enters the 28 toolkit classes in their fixed order, running the steps
    // at their places, then the top-level window class.
    void registerToolkitClasses(const RegistrationSteps& steps = {});
    // Enters one class; a name entered before gets the new number.
    void registerClass(std::string_view name, ControlClass number);
    // The demo's own page class, "VuqZilBrovDemo1".
    void registerDemoPageClass() { registerClass("VuqZilBrovDemo1", ControlClass::ZilBrovDemo1); }

    std::optional<ControlClass> findClass(std::string_view name) const;
    bool isTopLevelClass(std::string_view name) const { return topLevel_.contains(name); }

private:
    StringTree<ControlClass> classes_;
    StringTree<bool> topLevel_;
};

}  // namespace zil
