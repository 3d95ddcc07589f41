// The controls on real widgets: every declared property name settable and readable, nesting
// through InitialParent, fonts, text conversions, list rows and timers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <limits>
#include <map>
#include <set>

#include "fw/menus/Menu.h"
#include "fw/menus/MenuInstall.h"
#include "fw/properties/PropertyList.h"
#include "fw/ui/Font.h"
#include "fw/ui/Label.h"
#include "fw/ui/Listbox.h"
#include "fw/ui/Separator.h"
#include "fw/ui/TestAccess.h"
#include "tests/support/DeclaredPropertyTypes.h"
#include "tests/support/WidgetTestWindow.h"

namespace {

using fw::PropertyType;
using fw::PropertyValue;
using fw::Ref;
using fw::testing::TestWindow;
using fw::testing::WidgetOf;

class ControlsTest : public ::testing::Test {
protected:
    void TearDown() override { fw::testing::CloseAllWindows(); }

    // An open window whose CreateControls runs create.
    Ref<TestWindow> Open(std::function<void(TestWindow&)> create) {
        auto window = fw::MakeRef<TestWindow>();
        window->onCreateControls = std::move(create);
        window->Constructor();
        return window;
    }
};

class Box : public fw::RectControl {
protected:
    QWidget* CreateWidget(QWidget* parent) override { return new QWidget(parent); }
};

// --- declared property names -----------------------------------------------------------------

// The type of every property name the declared lists use.
PropertyType DeclaredType(const std::string& name) {
    static const std::map<std::string, PropertyType, std::less<>> types(
        karuta_test::kDeclaredPropertyTypes.begin(), karuta_test::kDeclaredPropertyTypes.end());
    return types.at(name);
}

const std::vector<std::string> kRectNames = {
    "Name",    "Index",          "Left",       "Top",           "Width",    "Height",  "LockLeft",
    "LockTop", "LockRight",      "LockBottom", "TabPanelIndex", "TabIndex", "TabStop", "Visible",
    "HelpTag", "AutoDeactivate", "Enabled",    "InitialParent"};
const std::vector<std::string> kFontNames = {"TextFont", "TextSize", "TextUnit",
                                             "Bold",     "Italic",   "Underline"};

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

struct ClassCase {
    const char* className;
    std::function<Ref<fw::Control>(TestWindow&)> make;
    std::vector<std::string> names;
    std::vector<std::string> absent;  // names of other classes this one must refuse
};

std::vector<ClassCase> ClassCases() {
    const std::vector<std::string> textEdit = {
        "Border",     "UseFocusRing", "TextColor", "BackColor",
        "Format",     "Text",         "Mask",      "ReadOnly",
        "LimitText",  "AcceptTabs",   "Alignment", "AutomaticallyCheckSpelling",
        "DataSource", "DataField"};
    return {
        {"Separator",
         [](TestWindow& w) { return Ref<fw::Control>(w.Add<fw::Separator>("S")); },
         kRectNames,
         {"TextFont", "Caption", "Title"}},
        {"Label",
         [](TestWindow& w) { return Ref<fw::Control>(w.Add<fw::Label>("L")); },
         Join({kRectNames,
               kFontNames,
               {"Text", "TextAlign", "TextColor", "Multiline", "MultiLine", "Selectable",
                "Transparent", "DataSource", "DataField"}}),
         {"Caption", "BackColor", "Password"}},
        {"TextField",
         [](TestWindow& w) { return Ref<fw::Control>(w.Add<fw::TextField>("F")); },
         Join({kRectNames, kFontNames, textEdit, {"Password", "CueText"}}),
         {"Multiline", "ScrollbarVertical", "Caption"}},
        {"TextArea",
         [](TestWindow& w) { return Ref<fw::Control>(w.Add<fw::TextArea>("A")); },
         Join({kRectNames,
               kFontNames,
               textEdit,
               {"Multiline", "ScrollbarHorizontal", "ScrollbarVertical", "Styled", "HideSelection",
                "LineHeight", "LineSpacing"}}),
         {"ScrollBarVertical", "Password", "CueText", "MultiLine"}},
        {"Listbox",
         [](TestWindow& w) { return Ref<fw::Control>(w.Add<fw::Listbox>("B")); },
         Join({kRectNames,
               kFontNames,
               {"Border",
                "ColumnCount",
                "ColumnWidths",
                "HasHeading",
                "UseFocusRing",
                "InitialValue",
                "HeadingIndex",
                "ScrollbarHorizontal",
                "ScrollBarVertical",
                "GridLinesHorizontal",
                "GridLinesVertical",
                "DefaultRowHeight",
                "_ScrollWidth",
                "_ScrollOffset",
                "Hierarchical",
                "EnableDrag",
                "EnableDragReorder",
                "RequiresSelection",
                "SelectionType",
                "ColumnsResizable",
                "AutoHideScrollbars",
                "DataSource",
                "DataField"}}),
         {"ScrollbarVertical", "Text"}},
        {"PushButton",
         [](TestWindow& w) { return Ref<fw::Control>(w.Add<fw::PushButton>("P")); },
         Join({kRectNames, kFontNames, {"Caption", "Default", "Cancel", "ButtonStyle"}}),
         {"Text", "TextColor"}},
        {"Timer",
         [](TestWindow& w) { return Ref<fw::Control>(w.Add<fw::Timer>("T")); },
         {"Mode", "Period"},
         {"Left", "Visible", "Enabled"}},
    };
}

// A value of the property's type that differs from current.
PropertyValue Changed(const std::string& name, const PropertyValue& current) {
    if (name == "InitialParent") {
        return std::string("Frame");  // a registered control; any other name is refused
    }
    return std::visit(
        [](const auto& value) -> PropertyValue {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, int64_t>) {
                return value + 7;
            } else if constexpr (std::is_same_v<T, bool>) {
                return !value;
            } else if constexpr (std::is_same_v<T, std::string>) {
                return value + "平成 明朝\r";
            } else if constexpr (std::is_same_v<T, fw::Color>) {
                return fw::Color{value.value ^ 0x00ABCDEFu};
            } else if constexpr (std::is_same_v<T, float>) {
                return value + 1.5f;
            } else if constexpr (std::is_same_v<T, double>) {
                return value + 0.25;
            } else {
                return fw::FontUnit{static_cast<uint8_t>(value.value + 1)};
            }
        },
        current);
}

// Sets each property alone through the mass setter and checks that exactly it (and its other
// spelling) changed: catches a row wired to another property's getter or setter.
void ExpectEachPropertyIsItsOwn(fw::PropertyHolder& target, const std::vector<std::string>& names,
                                const std::string& context) {
    const auto snapshot = [&] {
        std::map<std::string, PropertyValue> values;
        for (const auto& name : names) {
            values.emplace(name, *target.GetProperty(name));
        }
        return values;
    };
    const std::set<std::string> aliases = {"Multiline", "MultiLine"};
    for (const auto& name : names) {
        const auto before = snapshot();
        const PropertyValue wanted = Changed(name, before.at(name));
        fw::RuntimeMassPropertySetter(target, fw::WritePropertyList({{name, wanted}}));
        const auto after = snapshot();
        EXPECT_EQ(after.at(name), wanted) << context << "." << name;
        for (const auto& other : names) {
            const bool alias = aliases.count(name) != 0 && aliases.count(other) != 0;
            if (other != name && !alias) {
                EXPECT_EQ(after.at(other), before.at(other))
                    << context << ": setting " << name << " changed " << other;
            }
        }
    }
}

constexpr int64_t kInt64Max = std::numeric_limits<int64_t>::max();
constexpr int64_t kInt64Min = std::numeric_limits<int64_t>::min();

// Each Integer property among names keeps the ends of the range as set, one after the other
// (so that differences between them span the whole range), and gets its value back afterwards.
// Sanitizer builds catch any overflow in what the setters derive from them.
void ExpectExtremeIntegersReadBack(fw::PropertyHolder& target,
                                   const std::vector<std::string>& names,
                                   const std::string& context) {
    for (const auto& name : names) {
        if (DeclaredType(name) != PropertyType::Integer) {
            continue;
        }
        const PropertyValue original = *target.GetProperty(name);
        for (int64_t value : {kInt64Max, kInt64Min, kInt64Max, kInt64Min}) {
            fw::RuntimeMassPropertySetter(target, fw::WritePropertyList({{name, value}}));
            EXPECT_EQ(*target.GetProperty(name), PropertyValue(value))
                << context << "." << name << " = " << value;
        }
        fw::RuntimeMassPropertySetter(target, fw::WritePropertyList({{name, original}}));
    }
}

// What the geometry makes of the ends of the range: a control nested in a frame away from the
// origin lies far off on the side its window coordinates say, and a control locked to every
// edge and as large as can be stays so when its window grows.
void ExpectExtremeGeometrySaturates(TestWindow& window, fw::RectControl& rect,
                                    const std::string& context) {
    ASSERT_EQ(rect.InitialParent(), "Frame") << context;
    rect.SetLeft(kInt64Min);
    rect.SetTop(kInt64Max);
    EXPECT_LT(WidgetOf(rect)->x(), 0) << context;
    EXPECT_GT(WidgetOf(rect)->y(), 0) << context;
    rect.SetLeft(kInt64Max);
    rect.SetTop(kInt64Min);
    EXPECT_GT(WidgetOf(rect)->x(), 0) << context;
    EXPECT_LT(WidgetOf(rect)->y(), 0) << context;

    rect.SetInitialParent("");
    rect.SetLeft(0);
    rect.SetTop(0);
    rect.SetWidth(kInt64Max);
    rect.SetHeight(kInt64Max);
    rect.SetLockLeft(true);
    rect.SetLockTop(true);
    rect.SetLockRight(true);
    rect.SetLockBottom(true);
    QWidget* top = WidgetOf(window);
    top->resize(top->width() + 10, top->height() + 10);  // as the user drags the corner
    EXPECT_EQ(rect.Width(), kInt64Max) << context;
    EXPECT_EQ(rect.Height(), kInt64Max) << context;
}

TEST_F(ControlsTest, EveryDeclaredPropertyIsSettableAndReadsBack) {
    for (const auto& c : ClassCases()) {
        Ref<fw::Control> control;
        auto window = Open([&](TestWindow& w) {
            auto frame = w.Add<Box>("Frame");
            frame->SetLeft(10);
            frame->SetTop(10);
            control = c.make(w);
        });
        for (const auto& name : c.names) {
            EXPECT_EQ(control->PropertyTypeOf(name), DeclaredType(name))
                << c.className << "." << name;
        }
        for (const auto& name : c.absent) {
            EXPECT_EQ(control->PropertyTypeOf(name), std::nullopt) << c.className << "." << name;
            EXPECT_THROW(fw::RuntimeMassPropertySetter(*control,
                                                       fw::WritePropertyList({{name, int64_t{1}}})),
                         fw::PropertyListException)
                << c.className << "." << name;
        }
        ExpectEachPropertyIsItsOwn(*control, c.names, c.className);
        ExpectExtremeIntegersReadBack(*control, c.names, c.className);
        if (auto* rect = dynamic_cast<fw::RectControl*>(control.Get())) {
            ExpectExtremeGeometrySaturates(*window, *rect, c.className);
        }
        window->Close();
    }
}

TEST_F(ControlsTest, EveryWindowPropertyIsItsOwn) {
    auto window = Open({});
    const std::vector<std::string> names = {"Width",
                                            "Height",
                                            "MinWidth",
                                            "MinHeight",
                                            "MaxWidth",
                                            "MaxHeight",
                                            "Frame",
                                            "Title",
                                            "CloseButton",
                                            "Resizeable",
                                            "MaximizeButton",
                                            "MinimizeButton",
                                            "FullScreenButton",
                                            "Composite",
                                            "MacProcID",
                                            "Placement",
                                            "Visible",
                                            "LiveResize",
                                            "FullScreen",
                                            "MenuBarVisible",
                                            "HasBackColor",
                                            "BackColor"};
    for (const auto& name : names) {
        EXPECT_EQ(window->PropertyTypeOf(name), DeclaredType(name)) << name;
    }
    EXPECT_EQ(window->PropertyTypeOf("Left"), std::nullopt);
    EXPECT_EQ(window->PropertyTypeOf("Name"), std::nullopt);
    ExpectEachPropertyIsItsOwn(*window, names, "Window");

    // The ends of the range, on a hidden window (never shown as tall as its limits allow) with a
    // visible menu bar, whose height adds to the height limits.
    auto bar = fw::MakeRef<fw::MenuBar>();
    bar->Append(fw::MakeRef<fw::MenuItem>());
    bar->Item(0)->SetText("File");
    window->SetVisible(false);
    window->SetResizeable(true);
    window->SetMenuBar(bar);
    window->SetMenuBarVisible(true);
    QWidget* top = WidgetOf(*window);
    ASSERT_GT(fw::detail::InstalledMenuBar(top)->sizeHint().height(), 0);
    ExpectExtremeIntegersReadBack(
        *window,
        {"MinWidth", "MinHeight", "MaxWidth", "MaxHeight", "Frame", "MacProcID", "Placement"},
        "Window");
    // The largest maximum, not one wrapped round to nothing. (A minimum that large means none
    // to Qt, so only a sanitizer build sees that one overflow.)
    window->SetMinHeight(kInt64Max);
    window->SetMaxHeight(kInt64Max);
    EXPECT_EQ(top->maximumHeight(), QWIDGETSIZE_MAX);
    window->SetMinHeight(64);
    window->SetMaxHeight(32000);
    window->SetHeight(kInt64Max);
    EXPECT_EQ(window->Height(), 32000) << "the tallest the limits allow";
    window->SetHeight(kInt64Min);
    EXPECT_EQ(window->Height(), 64);
}

// --- geometry --------------------------------------------------------------------------------

TEST_F(ControlsTest, NestedControlsKeepWindowCoordinatesAndLieInTheirFrame) {
    struct Slot {
        int64_t frameLeft, frameTop, faceLeft, faceTop;
    };
    const Slot slots[] = {{21, 69, 31, 75},     {132, 67, 142, 77},   {241, 70, 251, 76},
                          {355, 70, 365, 76},   {462, 70, 472, 76},   {21, 258, 31, 264},
                          {132, 258, 142, 264}, {241, 258, 251, 264}, {355, 259, 365, 265},
                          {462, 259, 472, 265}};
    // The main window's lists name the parent last; the result window's before the position.
    for (bool parentFirst : {false, true}) {
        std::vector<std::pair<Ref<Box>, Ref<Box>>> made;
        auto window = Open([&](TestWindow& w) {
            for (int64_t i = 0; i < 10; ++i) {
                const Slot& s = slots[i];
                auto frame = w.Add<Box>("CardCanvas");
                fw::RuntimeMassPropertySetter(*frame, fw::WritePropertyList({
                                                          {"Index", i},
                                                          {"Left", s.frameLeft},
                                                          {"Top", s.frameTop},
                                                          {"Width", int64_t{90}},
                                                          {"Height", int64_t{170}},
                                                      }));
                auto face = w.Add<Box>("FudaCanvas");
                const fw::PropertyEntry parent{"InitialParent", "CardCanvas$" + std::to_string(i)};
                std::vector<fw::PropertyEntry> list = {{"Index", i},
                                                       {"Left", s.faceLeft},
                                                       {"Top", s.faceTop},
                                                       {"Width", int64_t{70}},
                                                       {"Height", int64_t{160}}};
                list.insert(parentFirst ? list.begin() + 1 : list.end(), parent);
                fw::RuntimeMassPropertySetter(*face, fw::WritePropertyList(list));
                made.emplace_back(frame, face);
            }
        });
        QWidget* content = fw::testing::ContentWidgetOf(*window);
        for (size_t i = 0; i < made.size(); ++i) {
            const auto& [frame, face] = made[i];
            const Slot& s = slots[i];
            EXPECT_EQ(face->Left(), s.faceLeft) << i;
            EXPECT_EQ(face->Top(), s.faceTop) << i;
            EXPECT_EQ(WidgetOf(*face)->parentWidget(), WidgetOf(*frame)) << i;
            EXPECT_EQ(WidgetOf(*face)->geometry(),
                      QRect(static_cast<int>(s.faceLeft - s.frameLeft),
                            static_cast<int>(s.faceTop - s.frameTop), 70, 160))
                << i << " parent first: " << parentFirst;
            EXPECT_EQ(WidgetOf(*face)->mapTo(content, QPoint(0, 0)),
                      QPoint(static_cast<int>(s.faceLeft), static_cast<int>(s.faceTop)))
                << i;
        }
        // Moving a frame carries its face along, in window coordinates too.
        made[1].first->SetLeft(140);
        EXPECT_EQ(made[1].second->Left(), 150);
        EXPECT_EQ(WidgetOf(*made[1].second)->mapTo(content, QPoint(0, 0)), QPoint(150, 77));
        window->Close();
    }
}

TEST_F(ControlsTest, InitialParentThatNoControlBearsIsRefused) {
    auto window = Open([](TestWindow& w) {
        w.Add<Box>("CardCanvas")->SetIndex(0);
        auto face = w.Add<Box>("FudaCanvas");
        EXPECT_THROW(face->SetInitialParent("CardCanvas$1"), fw::RuntimeException);
        EXPECT_THROW(face->SetInitialParent("Nothing"), fw::RuntimeException);
        EXPECT_THROW(face->SetInitialParent("FudaCanvas"), fw::RuntimeException) << "itself";
        EXPECT_EQ(face->InitialParent(), "");
    });
}

TEST_F(ControlsTest, HiddenAndOutlyingControlsAreStillCreated) {
    Ref<fw::Listbox> hidden;
    Ref<fw::Listbox> outside;
    auto window = Open([&](TestWindow& w) {
        w.SetWidth(570);
        w.SetHeight(510);
        hidden = w.Add<fw::Listbox>("ListBox1");
        hidden->SetTop(504);
        hidden->SetVisible(false);
        outside = w.Add<fw::Listbox>("ListBox2");
        outside->SetLeft(796);
        outside->SetTop(484);
    });
    EXPECT_TRUE(WidgetOf(*hidden)->isHidden());
    EXPECT_TRUE(WidgetOf(*outside)->isVisible());
    EXPECT_EQ(WidgetOf(*outside)->pos(), QPoint(796, 484));
    hidden->SetVisible(true);
    EXPECT_TRUE(WidgetOf(*hidden)->isVisible());
}

// --- fonts -----------------------------------------------------------------------------------

TEST_F(ControlsTest, FontsKeepTheirDeclaredNameAndMapToAnInstalledFamily) {
    // At 12 px, as at the platform's size, Mincho names get the Mincho kept for text sizes.
    const bool haveTextMincho = QFontDatabase::families().contains("IPAexMincho");
    const QString uiFamily = QFontInfo(QApplication::font()).family();
    struct Case {
        std::string declared;
        bool serif;
        bool bold;
    } cases[] = {
        {"MS 明朝", true, false},        {"MS明朝", true, true},  {"平成明朝\r", true, false},
        {"魚石行書", true, false},       {"System", false, true}, {"", false, false},
        {"NoSuchFace 12", false, false},
    };
    for (const auto& c : cases) {
        Ref<fw::Label> label;
        auto window = Open([&](TestWindow& w) {
            label = w.Add<fw::Label>("Label");
            fw::RuntimeMassPropertySetter(*label, fw::WritePropertyList({
                                                      {"TextFont", c.declared},
                                                      {"TextSize", 12.0f},
                                                      {"Bold", c.bold},
                                                  }));
        });
        EXPECT_EQ(label->TextFont(), c.declared);
        const QFont font = WidgetOf(*label)->font();
        EXPECT_EQ(font.pixelSize(), 12) << c.declared;
        EXPECT_EQ(font.bold(), c.bold) << c.declared;
        const QString family = QFontInfo(font).family();
        if (!c.serif) {
            EXPECT_EQ(family, uiFamily) << c.declared;
        } else if (haveTextMincho) {
            EXPECT_EQ(family, QString("IPAexMincho")) << c.declared;
            EXPECT_EQ(fw::FontFamilyFor(c.declared), "IPAexMincho");
        } else {
            EXPECT_EQ(font.styleHint(), QFont::Serif) << c.declared;
        }
        window->Close();
    }
}

// --- text ------------------------------------------------------------------------------------

TEST_F(ControlsTest, TextAreaLinesAreCarriageReturnsOutsideTheWidget) {
    Ref<fw::TextArea> area;
    auto window = Open([&](TestWindow& w) { area = w.Add<fw::TextArea>("OdaiField"); });
    auto* widget = static_cast<QPlainTextEdit*>(WidgetOf(*area));

    area->SetText("上の句\r下の句\r");
    EXPECT_EQ(widget->toPlainText(), QString::fromUtf8("上の句\n下の句\n"));
    EXPECT_EQ(area->Text(), "上の句\r下の句\r");

    area->SetText("");
    QTest::keyClicks(widget, "ab");
    QTest::keyClick(widget, Qt::Key_Return);
    QTest::keyClicks(widget, "c");
    EXPECT_EQ(area->Text(), "ab\rc");
    window->Close();
    EXPECT_EQ(area->Text(), "ab\rc") << "what was typed outlives the widget";
}

TEST_F(ControlsTest, TextFieldReadsWhatThePlayerTypedAndSettingReplacesIt) {
    Ref<fw::TextField> field;
    auto window = Open([&](TestWindow& w) { field = w.Add<fw::TextField>("TimeField"); });
    auto* edit = static_cast<QLineEdit*>(WidgetOf(*field));
    // A text longer than the 60-pixel field shows its beginning.
    field->SetText("12.34568");
    EXPECT_EQ(edit->cursorPosition(), 0);
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClicks(edit, "3");
    EXPECT_EQ(field->Text(), "12.345683");
    field->SetText("0");
    EXPECT_EQ(edit->text(), "0");
    QTest::keyClicks(edit, "7");
    window->Close();
    EXPECT_EQ(field->Text(), "70");
}

TEST_F(ControlsTest, LabelShowsCarriageReturnsAsLineBreaks) {
    Ref<fw::Label> label;
    auto window = Open([&](TestWindow& w) { label = w.Add<fw::Label>("Message"); });
    label->SetText("ゲーム終了\r総得点:10\r称号：なし");
    EXPECT_EQ(static_cast<QLabel*>(WidgetOf(*label))->text(),
              QString::fromUtf8("ゲーム終了\n総得点:10\n称号：なし"));
    EXPECT_EQ(label->Text(), "ゲーム終了\r総得点:10\r称号：なし");
}

TEST_F(ControlsTest, ListboxRowsComeFromTheCarriageReturnSeparatedInitialValue) {
    struct Case {
        std::string value;
        std::vector<std::string> rows;
    } cases[] = {
        {"秋の田の\r春すぎて\rあしびきの", {"秋の田の", "春すぎて", "あしびきの"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\rb", {"a", "", "b"}},
        {"\r", {""}},
        {"", {}},
        {"one row", {"one row"}},
    };
    Ref<fw::Listbox> list;
    auto window = Open([&](TestWindow& w) { list = w.Add<fw::Listbox>("ListBox1"); });
    auto* widget = static_cast<QListWidget*>(WidgetOf(*list));
    for (const auto& c : cases) {
        fw::RuntimeMassPropertySetter(*list, fw::WritePropertyList({{"InitialValue", c.value}}));
        ASSERT_EQ(list->ListCount(), static_cast<int64_t>(c.rows.size())) << c.value;
        ASSERT_EQ(widget->count(), static_cast<int>(c.rows.size())) << c.value;
        for (size_t r = 0; r < c.rows.size(); ++r) {
            EXPECT_EQ(list->List(static_cast<int64_t>(r)), c.rows[r]);
            EXPECT_EQ(widget->item(static_cast<int>(r))->text(), QString::fromStdString(c.rows[r]));
        }
        EXPECT_THROW(list->List(static_cast<int64_t>(c.rows.size())), fw::OutOfBoundsException);
        EXPECT_THROW(list->List(-1), fw::OutOfBoundsException);
    }
}

// --- timers ----------------------------------------------------------------------------------

int Ticks(const TestWindow& window) {
    return static_cast<int>(std::count(window.log.begin(), window.log.end(), "Tick MyTimer"));
}

Ref<TestWindow> WindowWithTimer(Ref<fw::Timer>& timer) {
    auto window = fw::MakeRef<TestWindow>();
    window->onCreateControls = [&timer](TestWindow& w) {
        timer = w.__New<fw::Timer>();
        w._AddControl("MyTimer", timer);
        fw::RuntimeAddEventHandler(*timer, fw::kTimerActionEvent,
                                   fw::RuntimeCreateDelegate(&w, &TestWindow::TimerAction));
    };
    window->Constructor();
    return window;
}

// Timer tests wait for conditions with generous deadlines, never for a tick to land inside a
// narrow window: the machines that run them are shared and can stall.
TEST_F(ControlsTest, TimerModesRepeatFireOnceOrStayOff) {
    struct Case {
        int64_t mode;
        int ticksAwaited;
        int64_t modeAfter;
    } cases[] = {{2, 3, 2}, {1, 1, 0}, {0, 0, 0}};
    for (const auto& c : cases) {
        Ref<fw::Timer> timer;
        auto window = WindowWithTimer(timer);
        fw::RuntimeMassPropertySetter(
            *timer, fw::WritePropertyList({{"Mode", c.mode}, {"Period", int64_t{10}}}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return Ticks(*window) >= c.ticksAwaited; }, 5000));
        QTest::qWait(50);
        if (c.mode != 2) {
            EXPECT_EQ(Ticks(*window), c.ticksAwaited) << "mode " << c.mode;
        }
        EXPECT_EQ(timer->Mode(), c.modeAfter);
        window->Close();
    }
}

TEST_F(ControlsTest, TimerStopsWhenItsWindowCloses) {
    Ref<fw::Timer> timer;
    auto window = WindowWithTimer(timer);
    timer->SetPeriod(5);
    timer->SetMode(2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Ticks(*window) > 0; }, 5000));
    window->Close();
    const int atClose = Ticks(*window);
    QTest::qWait(40);
    EXPECT_EQ(Ticks(*window), atClose);
    timer->SetMode(1);  // a closed window's timer stays off
    QTest::qWait(20);
    EXPECT_EQ(Ticks(*window), atClose);
    EXPECT_EQ(timer->RemainingTime(), -1);
}

TEST_F(ControlsTest, SettingTheSamePeriodKeepsTheCountdownAndANewOneRestartsIt) {
    Ref<fw::Timer> timer;
    auto window = WindowWithTimer(timer);
    timer->SetPeriod(60000);
    timer->SetMode(2);
    QTest::qWait(200);
    const int64_t before = timer->RemainingTime();
    ASSERT_LE(before, 59800);
    timer->SetPeriod(60000);
    EXPECT_LE(timer->RemainingTime(), before);
    timer->SetPeriod(59999);
    EXPECT_GT(timer->RemainingTime(), before);
    window->Close();
}

}  // namespace
