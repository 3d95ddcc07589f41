#include "game/MainWindowDeclarations.h"

#include <array>
#include <vector>

#include "deck/PoemTable.h"
#include "game/DeclaredValues.h"

namespace game {
namespace {

using namespace declare;
using Entries = std::vector<fw::PropertyEntry>;

// ---- Rows: what differs from control to control -------------------------------------------

struct CanvasRow {
    const char* name;
    int64_t index;
    int64_t left, top, width, height;
    int64_t tabIndex;
    const char* initialParent;
};

struct LabelRow {
    const char* name;
    int64_t left, top, width, height;
    int64_t tabIndex;
    const char* text;
    const char* font;
    bool bold;
};

struct TextFieldRow {
    const char* name;
    int64_t left, top;
    int64_t tabIndex;
};

struct TextAreaRow {
    const char* name;
    int64_t left, top, width, height;
    int64_t tabIndex;
    const char* font;
    bool visible;
    bool styled;
    bool verticalScrollbar;
};

struct ListboxRow {
    const char* name;
    int64_t left, top, width;
    int64_t tabIndex;
    bool visible;
    const std::string& (*initialValue)();
};

struct SeparatorRow {
    const char* name;
    int64_t top;
    int64_t tabIndex;
};

// Card frames are 90 x 170 and card faces 70 x 160; each face names its frame as its parent.
constexpr std::array<CanvasRow, 21> kCanvases = {{
    {"CardCanvas", 1, 132, 67, 90, 170, 0, ""},
    {"FudaCanvas", 1, 142, 77, 70, 160, 0, "CardCanvas$1"},
    {"CardCanvas", 0, 21, 69, 90, 170, 1, ""},
    {"FudaCanvas", 0, 31, 75, 70, 160, 0, "CardCanvas$0"},
    {"CardCanvas", 2, 241, 70, 90, 170, 25, ""},
    {"FudaCanvas", 2, 251, 76, 70, 160, 0, "CardCanvas$2"},
    {"CardCanvas", 3, 355, 70, 90, 170, 26, ""},
    {"FudaCanvas", 3, 365, 76, 70, 160, 0, "CardCanvas$3"},
    {"CardCanvas", 4, 462, 70, 90, 170, 27, ""},
    {"FudaCanvas", 4, 472, 76, 70, 160, 0, "CardCanvas$4"},
    {"CardCanvas", 5, 21, 258, 90, 170, 28, ""},
    {"FudaCanvas", 5, 31, 264, 70, 160, 0, "CardCanvas$5"},
    {"CardCanvas", 6, 132, 258, 90, 170, 29, ""},
    {"FudaCanvas", 6, 142, 264, 70, 160, 0, "CardCanvas$6"},
    {"CardCanvas", 7, 241, 258, 90, 170, 30, ""},
    {"FudaCanvas", 7, 251, 264, 70, 160, 0, "CardCanvas$7"},
    {"CardCanvas", 8, 355, 259, 90, 170, 31, ""},
    {"FudaCanvas", 8, 365, 265, 70, 160, 0, "CardCanvas$8"},
    {"CardCanvas", 9, 462, 259, 90, 170, 32, ""},
    {"FudaCanvas", 9, 472, 265, 70, 160, 0, "CardCanvas$9"},
    {"MyCanvas", kNoIndex, 419, 452, 50, 50, 34, ""},
}};

// The colons differ on purpose: ASCII in the three score labels, full-width in the others.
// ShogoText's font name ends with a carriage return, which belongs to the declared name.
constexpr std::array<LabelRow, 9> kLabels = {{
    {"StaticText1", 108, 11, 30, 21, 2, "お題", "MS 明朝", false},
    {"StaticText2", 17, 43, 30, 21, 3, "お札", "MS 明朝", false},
    {"StaticText3", 9, 453, 38, 21, 4, "得点:", "MS 明朝", true},
    {"StaticText4", 9, 484, 50, 16, 6, "総得点:", "MS 明朝", true},
    {"StaticText5", 156, 454, 38, 21, 8, "時間：", "MS 明朝", true},
    {"StaticText6", 275, 453, 38, 21, 18, "回数：", "MS 明朝", true},
    {"StaticText7", 275, 482, 38, 21, 20, "称号：", "MS 明朝", true},
    {"StaticText8", 141, 486, 58, 16, 21, "最高得点:", "MS 明朝", true},
    {"ShogoText", 316, 483, 91, 20, 23, "", "平成明朝\r", false},
}};

// All five text fields are 60 x 20 in the "System" font.
constexpr std::array<TextFieldRow, 5> kTextFields = {{
    {"ScoreFiled", 55, 454, 5},
    {"TotalScoreField", 55, 482, 7},
    {"TimeField", 203, 455, 9},
    {"KaisuField", 325, 454, 19},
    {"HighScoreField", 203, 482, 22},
}};

constexpr std::array<TextAreaRow, 2> kTextAreas = {{
    {"OdaiField", 145, 4, 280, 41, 13, "MS明朝", true, false, false},
    {"MyField", 355, 512, 205, 30, 33, "System", false, true, true},
}};

// The four list boxes carry the poems; the player never sees them (hidden or outside the window).
constexpr std::array<ListboxRow, 4> kListboxes = {{
    {"ListBox1", 0, 504, 234, 14, false, &deck::ListBox1InitialValue},
    {"ListBox2", 796, 484, 170, 15, true, &deck::ListBox2InitialValue},
    {"ListBox3", 0, 552, 234, 16, true, &deck::ListBox3InitialValue},
    {"ListBox4", 796, 535, 170, 17, true, &deck::ListBox4InitialValue},
}};

// Both separators are 630 wide, wider than the window, which clips them.
constexpr std::array<SeparatorRow, 2> kSeparators = {{
    {"Separator1", 436, 11},
    {"Separator2", 249, 24},
}};

// ---- Lists: what every control of a class shares, in the order each class stores it --------

Entries CanvasList(const CanvasRow& r) {
    return {Text("Name", r.name),        Int("Index", r.index),
            Int("Left", r.left),         Int("Top", r.top),
            Int("Width", r.width),       Int("Height", r.height),
            Bool("LockLeft", false),     Bool("LockTop", false),
            Bool("LockRight", false),    Bool("LockBottom", false),
            Int("TabPanelIndex", 0),     Int("TabIndex", r.tabIndex),
            Bool("TabStop", true),       Bool("Visible", true),
            Text("HelpTag", ""),         Bool("AutoDeactivate", true),
            Bool("Enabled", true),       Bool("UseFocusRing", true),
            Bool("AcceptFocus", false),  Bool("AcceptTabs", false),
            Bool("DoubleBuffer", false), Bool("EraseBackground", true),
            Bool("Transparent", true),   Text("InitialParent", r.initialParent)};
}

Entries LabelList(const LabelRow& r) {
    return {Bool("TabStop", true),
            Text("Name", r.name),
            Int("Index", kNoIndex),
            Int("Left", r.left),
            Int("Top", r.top),
            Int("Width", r.width),
            Int("Height", r.height),
            Bool("LockLeft", false),
            Bool("LockTop", false),
            Bool("LockRight", false),
            Bool("LockBottom", false),
            Int("TabPanelIndex", 0),
            Int("TabIndex", r.tabIndex),
            Text("Text", r.text),
            Int("TextAlign", 0),
            Colour("TextColor", kBlack),
            Bool("Multiline", false),
            Bool("Enabled", true),
            Bool("Visible", true),
            Bool("Selectable", false),
            Bool("Transparent", false),
            Text("HelpTag", ""),
            Bool("AutoDeactivate", true),
            Text("TextFont", r.font),
            Single("TextSize", kTextSize),
            Unit("TextUnit", 0),
            Bool("Bold", r.bold),
            Bool("Italic", false),
            Bool("Underline", false),
            Text("DataSource", ""),
            Text("DataField", ""),
            Text("InitialParent", "")};
}

Entries TextFieldList(const TextFieldRow& r) {
    return {Text("Name", r.name),
            Int("Index", kNoIndex),
            Int("Left", r.left),
            Int("Top", r.top),
            Int("Width", 60),
            Int("Height", 20),
            Bool("LockLeft", false),
            Bool("LockTop", false),
            Bool("LockRight", false),
            Bool("LockBottom", false),
            Int("TabPanelIndex", 0),
            Int("TabIndex", r.tabIndex),
            Bool("TabStop", true),
            Bool("Border", true),
            Bool("Password", false),
            Bool("UseFocusRing", true),
            Colour("TextColor", kBlack),
            Colour("BackColor", kWhite),
            Bool("Enabled", true),
            Text("Format", ""),
            Bool("Visible", true),
            Text("HelpTag", ""),
            Bool("AutoDeactivate", true),
            Text("TextFont", "System"),
            Single("TextSize", kTextSize),
            Unit("TextUnit", 0),
            Bool("Bold", false),
            Bool("Italic", false),
            Bool("Underline", false),
            Text("CueText", ""),
            Text("Text", ""),
            Text("Mask", ""),
            Bool("ReadOnly", false),
            Int("LimitText", 0),
            Bool("AcceptTabs", false),
            Int("Alignment", 0),
            Bool("AutomaticallyCheckSpelling", false),
            Text("DataSource", ""),
            Text("DataField", ""),
            Text("InitialParent", "")};
}

Entries TextAreaList(const TextAreaRow& r) {
    return {Text("Name", r.name),
            Int("Index", kNoIndex),
            Int("Left", r.left),
            Int("Top", r.top),
            Int("Width", r.width),
            Int("Height", r.height),
            Bool("LockLeft", false),
            Bool("LockTop", false),
            Bool("LockRight", false),
            Bool("LockBottom", false),
            Int("TabPanelIndex", 0),
            Int("TabIndex", r.tabIndex),
            Bool("TabStop", true),
            Bool("Border", true),
            Bool("Multiline", true),
            Bool("ScrollbarHorizontal", false),
            Bool("ScrollbarVertical", r.verticalScrollbar),
            Bool("Styled", r.styled),
            Bool("UseFocusRing", true),
            Colour("TextColor", kBlack),
            Colour("BackColor", kWhite),
            Bool("Enabled", true),
            Text("Format", ""),
            Bool("Visible", r.visible),
            Text("HelpTag", ""),
            Bool("AutoDeactivate", true),
            Bool("HideSelection", true),
            Double("LineHeight", 0.0),
            Double("LineSpacing", 1.0),
            Text("TextFont", r.font),
            Single("TextSize", kTextSize),
            Unit("TextUnit", 0),
            Bool("Bold", false),
            Bool("Italic", false),
            Bool("Underline", false),
            Text("Text", ""),
            Text("Mask", ""),
            Bool("ReadOnly", false),
            Int("LimitText", 0),
            Bool("AcceptTabs", false),
            Int("Alignment", 0),
            Bool("AutomaticallyCheckSpelling", true),
            Text("DataSource", ""),
            Text("DataField", ""),
            Text("InitialParent", "")};
}

Entries ListboxList(const ListboxRow& r) {
    return {Text("Name", r.name),
            Int("Index", kNoIndex),
            Int("Left", r.left),
            Int("Top", r.top),
            Int("Width", r.width),
            Int("Height", 45),
            Bool("LockLeft", false),
            Bool("LockTop", false),
            Bool("LockRight", false),
            Bool("LockBottom", false),
            Int("TabPanelIndex", 0),
            Int("TabIndex", r.tabIndex),
            Bool("TabStop", true),
            Bool("Visible", r.visible),
            Text("HelpTag", ""),
            Bool("AutoDeactivate", true),
            Bool("Enabled", true),
            Bool("Border", true),
            Int("ColumnCount", 1),
            Text("ColumnWidths", ""),
            Bool("HasHeading", false),
            Bool("UseFocusRing", true),
            Text("InitialValue", r.initialValue()),
            Int("HeadingIndex", -1),
            Bool("ScrollbarHorizontal", false),
            Bool("ScrollBarVertical", true),
            Int("GridLinesHorizontal", 0),
            Int("GridLinesVertical", 0),
            Int("DefaultRowHeight", -1),
            Int("_ScrollWidth", -1),
            Int("_ScrollOffset", 0),
            Text("TextFont", "System"),
            Single("TextSize", kTextSize),
            Unit("TextUnit", 0),
            Bool("Bold", false),
            Bool("Italic", false),
            Bool("Underline", false),
            Bool("Hierarchical", false),
            Bool("EnableDrag", false),
            Bool("EnableDragReorder", false),
            Bool("RequiresSelection", false),
            Int("SelectionType", 0),
            Bool("ColumnsResizable", false),
            Bool("AutoHideScrollbars", true),
            Text("DataSource", ""),
            Text("DataField", ""),
            Text("InitialParent", "")};
}

Entries SeparatorList(const SeparatorRow& r) {
    return {Text("Name", r.name),
            Int("Index", kNoIndex),
            Int("Left", 0),
            Int("Top", r.top),
            Int("Width", 630),
            Int("Height", 4),
            Bool("LockLeft", false),
            Bool("LockTop", false),
            Bool("LockRight", false),
            Bool("LockBottom", false),
            Int("TabPanelIndex", 0),
            Int("TabIndex", r.tabIndex),
            Bool("TabStop", true),
            Text("InitialParent", ""),
            Bool("Visible", true),
            Text("HelpTag", ""),
            Bool("AutoDeactivate", true),
            Bool("Enabled", true)};
}

// The start button is the window's default button, locked to the top edge.
Entries StartButtonList() {
    return {Text("Name", "StartButton"),
            Int("Index", kNoIndex),
            Int("Left", 457),
            Int("Top", 11),
            Int("Width", 69),
            Int("Height", 22),
            Bool("LockLeft", false),
            Bool("LockTop", true),
            Bool("LockRight", false),
            Bool("LockBottom", false),
            Int("TabPanelIndex", 0),
            Int("TabIndex", 12),
            Bool("TabStop", true),
            Text("Caption", "開始"),
            Bool("Default", true),
            Bool("Cancel", false),
            Bool("Enabled", true),
            Bool("Visible", true),
            Text("HelpTag", ""),
            Bool("AutoDeactivate", true),
            Int("ButtonStyle", 0),
            Text("TextFont", "魚石行書"),
            Single("TextSize", kTextSize),
            Unit("TextUnit", 0),
            Bool("Bold", false),
            Bool("Italic", false),
            Bool("Underline", false),
            Text("InitialParent", "")};
}

// The timer repeats (mode 2) once a second. Its list carries no name: the timer is named only by
// its registration with the window.
Entries MyTimerList() {
    return {Int("Mode", 2), Int("Period", 1000)};
}

// The list of row i of a table, kept as EncodedList keeps its own.
template <auto& rows, size_t i, auto build>
const fw::DeclaredPropertyList& EncodedRow() {
    return EncodedList<[] { return build(rows[i]); }>();
}

template <size_t i>
ControlDeclaration CanvasControl(ControlKind kind) {
    return {kind, kCanvases[i].name, kCanvases[i].index, &EncodedRow<kCanvases, i, CanvasList>};
}
template <size_t i>
ControlDeclaration LabelControl() {
    return {ControlKind::Label, kLabels[i].name, kNoIndex, &EncodedRow<kLabels, i, LabelList>};
}
template <size_t i>
ControlDeclaration TextFieldControl() {
    return {ControlKind::TextField, kTextFields[i].name, kNoIndex,
            &EncodedRow<kTextFields, i, TextFieldList>};
}
template <size_t i>
ControlDeclaration TextAreaControl() {
    return {ControlKind::TextArea, kTextAreas[i].name, kNoIndex,
            &EncodedRow<kTextAreas, i, TextAreaList>};
}
template <size_t i>
ControlDeclaration ListboxControl() {
    return {ControlKind::Listbox, kListboxes[i].name, kNoIndex,
            &EncodedRow<kListboxes, i, ListboxList>};
}
template <size_t i>
ControlDeclaration SeparatorControl() {
    return {ControlKind::Separator, kSeparators[i].name, kNoIndex,
            &EncodedRow<kSeparators, i, SeparatorList>};
}

Entries MainWindowList() {
    return {Int("Width", 560),
            Int("Height", 562),
            Int("MinWidth", 64),
            Int("MinHeight", 64),
            Int("MaxWidth", 32000),
            Int("MaxHeight", 32000),
            Int("Frame", 0),
            Text("Title", "ソラネリ(Mac)"),
            Bool("CloseButton", true),
            Bool("Resizeable", false),
            Bool("MaximizeButton", false),
            Bool("MinimizeButton", false),
            Bool("FullScreenButton", false),
            Bool("Composite", false),
            Int("MacProcID", 0),
            Int("Placement", 0),
            Bool("Visible", true),
            Bool("LiveResize", false),
            Bool("FullScreen", false),
            Bool("MenuBarVisible", false),
            Bool("HasBackColor", true),
            Colour("BackColor", fw::RGB(255, 128, 0))};
}

using K = ControlKind;

}  // namespace

const fw::DeclaredPropertyList& MainWindowPropertyList() {
    return EncodedList<MainWindowList>();
}

std::span<const ControlDeclaration> MainWindowControls() {
    // The creation order, which is not the slot order: slot 1 comes before slot 0, and slots 2
    // to 9 only after the score area.
    static const std::array<ControlDeclaration, 45> controls = {
        CanvasControl<0>(K::CardCanvas),  // CardCanvas(1)
        CanvasControl<1>(K::FudaCanvas),  // FudaCanvas(1)
        CanvasControl<2>(K::CardCanvas),  // CardCanvas(0)
        CanvasControl<3>(K::FudaCanvas),  // FudaCanvas(0)
        LabelControl<0>(),                // StaticText1
        LabelControl<1>(),                // StaticText2
        LabelControl<2>(),                // StaticText3
        TextFieldControl<0>(),            // ScoreFiled
        LabelControl<3>(),                // StaticText4
        TextFieldControl<1>(),            // TotalScoreField
        LabelControl<4>(),                // StaticText5
        TextFieldControl<2>(),            // TimeField
        {K::Timer, "MyTimer", kNoIndex, &EncodedList<MyTimerList>},
        SeparatorControl<0>(),  // Separator1
        {K::PushButton, "StartButton", kNoIndex, &EncodedList<StartButtonList>},
        TextAreaControl<0>(),              // OdaiField
        ListboxControl<0>(),               // ListBox1
        ListboxControl<1>(),               // ListBox2
        ListboxControl<2>(),               // ListBox3
        ListboxControl<3>(),               // ListBox4
        LabelControl<5>(),                 // StaticText6
        TextFieldControl<3>(),             // KaisuField
        LabelControl<6>(),                 // StaticText7
        LabelControl<7>(),                 // StaticText8
        TextFieldControl<4>(),             // HighScoreField
        LabelControl<8>(),                 // ShogoText
        SeparatorControl<1>(),             // Separator2
        CanvasControl<4>(K::CardCanvas),   // CardCanvas(2)
        CanvasControl<5>(K::FudaCanvas),   // FudaCanvas(2)
        CanvasControl<6>(K::CardCanvas),   // CardCanvas(3)
        CanvasControl<7>(K::FudaCanvas),   // FudaCanvas(3)
        CanvasControl<8>(K::CardCanvas),   // CardCanvas(4)
        CanvasControl<9>(K::FudaCanvas),   // FudaCanvas(4)
        CanvasControl<10>(K::CardCanvas),  // CardCanvas(5)
        CanvasControl<11>(K::FudaCanvas),  // FudaCanvas(5)
        CanvasControl<12>(K::CardCanvas),  // CardCanvas(6)
        CanvasControl<13>(K::FudaCanvas),  // FudaCanvas(6)
        CanvasControl<14>(K::CardCanvas),  // CardCanvas(7)
        CanvasControl<15>(K::FudaCanvas),  // FudaCanvas(7)
        CanvasControl<16>(K::CardCanvas),  // CardCanvas(8)
        CanvasControl<17>(K::FudaCanvas),  // FudaCanvas(8)
        CanvasControl<18>(K::CardCanvas),  // CardCanvas(9)
        CanvasControl<19>(K::FudaCanvas),  // FudaCanvas(9)
        TextAreaControl<1>(),              // MyField
        CanvasControl<20>(K::Canvas),      // MyCanvas
    };
    return controls;
}

}  // namespace game
