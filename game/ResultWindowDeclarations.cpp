#include "game/ResultWindowDeclarations.h"

#include <vector>

#include "game/DeclaredValues.h"

namespace game {
namespace {

using namespace declare;

// A plain, resizable window with no title. It keeps the platform's background: HasBackColor is
// False, so the white BackColor is never applied.
std::vector<fw::PropertyEntry> ResultWindowList() {
    return {Int("Width", 388),
            Int("Height", 100),
            Int("MinWidth", 64),
            Int("MinHeight", 64),
            Int("MaxWidth", 32000),
            Int("MaxHeight", 32000),
            Int("Frame", 0),
            Text("Title", ""),
            Bool("CloseButton", true),
            Bool("Resizeable", true),
            Bool("MaximizeButton", true),
            Bool("MinimizeButton", true),
            Bool("FullScreenButton", false),
            Bool("Composite", false),
            Int("MacProcID", 0),
            Int("Placement", 0),
            Bool("Visible", true),
            Bool("LiveResize", false),
            Bool("FullScreen", false),
            Bool("MenuBarVisible", true),
            Bool("HasBackColor", false),
            Colour("BackColor", kWhite)};
}

// The result window's controls store their entries in an order of their own; the order carries
// no meaning, the values do. "MultiLine" is spelled with a capital L here.
std::vector<fw::PropertyEntry> MessageLabelList() {
    return {Bool("TabStop", true),
            Int("TabIndex", 0),
            Text("DataField", ""),
            Text("DataSource", ""),
            Bool("Enabled", true),
            Bool("MultiLine", true),
            Colour("TextColor", kBlack),
            Int("TextAlign", 0),
            Text("Text", ""),
            Bool("Underline", false),
            Bool("Italic", false),
            Bool("Bold", false),
            Single("TextSize", kTextSize),
            Text("TextFont", "MS明朝"),
            Bool("LockBottom", false),
            Bool("LockRight", false),
            Bool("LockTop", false),
            Bool("LockLeft", false),
            Bool("AutoDeactivate", true),
            Text("HelpTag", ""),
            Text("InitialParent", ""),
            Int("Height", 52),
            Int("Width", 348),
            Int("Top", 14),
            Int("Left", 20),
            Bool("Visible", true),
            Int("TabPanelIndex", 0),
            Int("Index", kNoIndex),
            Text("Name", "Message"),
            Bool("Selectable", false),
            Bool("Transparent", false),
            Unit("TextUnit", 0)};
}

// OK is the window's default button, so Return closes the window too; Escape does not.
std::vector<fw::PropertyEntry> OKButtonList() {
    return {Bool("TabStop", true),
            Int("TabIndex", 1),
            Bool("Enabled", true),
            Bool("Cancel", false),
            Bool("Default", true),
            Text("Caption", "OK"),
            Bool("Underline", false),
            Bool("Italic", false),
            Bool("Bold", false),
            Single("TextSize", kTextSize),
            Text("TextFont", "System"),
            Bool("LockBottom", false),
            Bool("LockRight", false),
            Bool("LockTop", false),
            Bool("LockLeft", false),
            Bool("AutoDeactivate", true),
            Text("HelpTag", ""),
            Text("InitialParent", ""),
            Int("Height", 22),
            Int("Width", 69),
            Int("Top", 71),
            Int("Left", 240),
            Bool("Visible", true),
            Int("TabPanelIndex", 0),
            Int("Index", kNoIndex),
            Text("Name", "OKButton"),
            Int("ButtonStyle", 0),
            Unit("TextUnit", 0)};
}

}  // namespace

const fw::DeclaredPropertyList& ResultWindowPropertyList() {
    return EncodedList<ResultWindowList>();
}

const fw::DeclaredPropertyList& MessageLabelPropertyList() {
    return EncodedList<MessageLabelList>();
}

const fw::DeclaredPropertyList& OKButtonPropertyList() {
    return EncodedList<OKButtonList>();
}

}  // namespace game
