// The main window as the player first sees it: its declared properties and controls, the state
// after opening, the poem arrays and the menu bar.
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <set>

#include "deck/PoemTable.h"
#include "fw/core/Text.h"
#include "fw/runtime/Application.h"
#include "fw/runtime/Runtime.h"
#include "game/MainWindowDeclarations.h"
#include "game/MenuBar1.h"
#include "tests/game/GameFixture.h"

namespace {

using MainWindowTest = GameTest;

fw::Ref<fw::Control> Lookup(game::KarutaWindow& window, const game::ControlDeclaration& d) {
    return d.index == fw::kNoControlSetIndex ? window._ControlByName(d.name)
                                             : window._ControlByNameIndex(d.name, d.index);
}

TEST_F(MainWindowTest, TheStateRightAfterOpening) {
    EXPECT_EQ(window->Kaisu, 0);
    EXPECT_EQ(window->HighScore, 0);
    EXPECT_EQ(window->TotalPoint, 0);
    EXPECT_EQ(window->MyPoint, 0);
    EXPECT_EQ(window->OdaiNum, 0);
    EXPECT_FALSE(window->GameStarted);
    EXPECT_FALSE(window->Seikai);
    EXPECT_EQ(window->StartTime, 0.0);
    EXPECT_EQ(window->MyFont, "平成明朝");
    EXPECT_EQ(window->shogo, "なし");
    ASSERT_EQ(window->FudaNum->Count(), 10);
    for (int64_t slot = 0; slot <= 9; ++slot) {
        EXPECT_EQ((*window->FudaNum)(slot), 0);
    }
    EXPECT_EQ(window->Width(), 570);
    EXPECT_EQ(window->Height(), 510);
    EXPECT_EQ(fw::testing::ContentWidgetOf(*window)->size(), QSize(570, 510));
}

TEST_F(MainWindowTest, ThePlayerSeesTheDeclaredCaptionsAndTheStartingValues) {
    EXPECT_EQ(fw::testing::WidgetOf(*window)->windowTitle(), QString("ソラネリ(Mac)"));
    const std::pair<const char*, const char*> labels[] = {
        {"StaticText1", "お題"},    {"StaticText2", "お札"},      {"StaticText3", "得点:"},
        {"StaticText4", "総得点:"}, {"StaticText5", "時間："},    {"StaticText6", "回数："},
        {"StaticText7", "称号："},  {"StaticText8", "最高得点:"}, {"ShogoText", "なし"},
    };
    for (const auto& [name, text] : labels) {
        auto* label =
            qobject_cast<QLabel*>(Widget(*fw::Cast<fw::Label>(window->_ControlByName(name))));
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->text(), QString::fromUtf8(text)) << name;
    }
    for (const char* name : {"ScoreFiled", "TotalScoreField", "KaisuField", "HighScoreField"}) {
        auto* field = qobject_cast<QLineEdit*>(
            Widget(*fw::Cast<fw::TextField>(window->_ControlByName(name))));
        ASSERT_NE(field, nullptr) << name;
        EXPECT_EQ(field->text(), QString("0")) << name;
    }
    EXPECT_EQ(window->TimeField()->Text(), "");
    auto* button = qobject_cast<QPushButton*>(Widget(*window->StartButton()));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QString("開始"));
    const QColor background =
        fw::testing::ContentWidgetOf(*window)->grab().toImage().pixelColor(560, 445);
    EXPECT_EQ(background, QColor(255, 128, 0));
    QWidget* top = fw::testing::WidgetOf(*window);
    EXPECT_EQ(top->minimumSize(), top->maximumSize()) << "the window is not resizable";
}

TEST_F(MainWindowTest, EveryControlHoldsItsDeclaredValuesAtItsDeclaredPlace) {
    // What the window's own open handler and the fields' open handlers change afterwards.
    const std::set<std::pair<std::string, std::string>> changedAtOpen = {
        {"OdaiField", "TextFont"},   {"StartButton", "TextFont"}, {"StaticText1", "TextFont"},
        {"StaticText2", "TextFont"}, {"ShogoText", "Text"},       {"ScoreFiled", "Text"},
        {"TotalScoreField", "Text"}, {"KaisuField", "Text"},      {"HighScoreField", "Text"},
    };
    ASSERT_EQ(game::MainWindowControls().size(), 45u);
    // The second window is given the values kept from the first window's reading of its lists.
    for (int opening = 1; opening <= 2; ++opening) {
        SCOPED_TRACE("window opened " + std::to_string(opening) + " time(s)");
        if (opening == 2) {
            const fw::Ref<game::KarutaWindow> first = window;
            first->Close();
            window = game::KarutaWindow::Instance();
            ASSERT_NE(window.Get(), first.Get());
        }
        QWidget* content = fw::testing::ContentWidgetOf(*window);
        for (const game::ControlDeclaration& d : game::MainWindowControls()) {
            const std::string label = std::string(d.name) + "(" + std::to_string(d.index) + ")";
            fw::Ref<fw::Control> control = Lookup(*window, d);
            ASSERT_TRUE(control) << label;
            for (const fw::PropertyEntry& e :
                 fw::ReadPropertyList(d.propertyList().Bytes(), *control)) {
                if (changedAtOpen.count({d.name, e.name}) != 0) {
                    continue;
                }
                EXPECT_EQ(control->GetProperty(e.name), e.value) << label << "." << e.name;
            }
            auto* rect = dynamic_cast<fw::RectControl*>(control.Get());
            if (rect == nullptr) {
                continue;  // the timer has no place
            }
            QWidget* widget = Widget(*rect);
            ASSERT_NE(widget, nullptr) << label;
            EXPECT_EQ(widget->mapTo(content, QPoint(0, 0)), QPoint(rect->Left(), rect->Top()))
                << label;
            EXPECT_EQ(widget->size(), QSize(rect->Width(), rect->Height())) << label;
            EXPECT_EQ(widget->isVisibleTo(content), rect->Visible()) << label;
        }
    }
}

TEST_F(MainWindowTest, ControlsAreCreatedInOrderAtTheirPlaces) {
    struct Row {
        const char* name;
        int64_t index;  // -1 outside a control set
        int left, top, width, height;
        int64_t tabIndex;
        bool visible;
    };
    // Written out again here, apart from the window's declarations, so that a slip in either
    // shows. The timer has no place and no tab index.
    const Row rows[] = {
        {"CardCanvas", 1, 132, 67, 90, 170, 0, true},
        {"FudaCanvas", 1, 142, 77, 70, 160, 0, true},
        {"CardCanvas", 0, 21, 69, 90, 170, 1, true},
        {"FudaCanvas", 0, 31, 75, 70, 160, 0, true},
        {"StaticText1", -1, 108, 11, 30, 21, 2, true},
        {"StaticText2", -1, 17, 43, 30, 21, 3, true},
        {"StaticText3", -1, 9, 453, 38, 21, 4, true},
        {"ScoreFiled", -1, 55, 454, 60, 20, 5, true},
        {"StaticText4", -1, 9, 484, 50, 16, 6, true},
        {"TotalScoreField", -1, 55, 482, 60, 20, 7, true},
        {"StaticText5", -1, 156, 454, 38, 21, 8, true},
        {"TimeField", -1, 203, 455, 60, 20, 9, true},
        {"MyTimer", -1, 0, 0, 0, 0, -1, true},
        {"Separator1", -1, 0, 436, 630, 4, 11, true},
        {"StartButton", -1, 457, 11, 69, 22, 12, true},
        {"OdaiField", -1, 145, 4, 280, 41, 13, true},
        {"ListBox1", -1, 0, 504, 234, 45, 14, false},
        {"ListBox2", -1, 796, 484, 170, 45, 15, true},
        {"ListBox3", -1, 0, 552, 234, 45, 16, true},
        {"ListBox4", -1, 796, 535, 170, 45, 17, true},
        {"StaticText6", -1, 275, 453, 38, 21, 18, true},
        {"KaisuField", -1, 325, 454, 60, 20, 19, true},
        {"StaticText7", -1, 275, 482, 38, 21, 20, true},
        {"StaticText8", -1, 141, 486, 58, 16, 21, true},
        {"HighScoreField", -1, 203, 482, 60, 20, 22, true},
        {"ShogoText", -1, 316, 483, 91, 20, 23, true},
        {"Separator2", -1, 0, 249, 630, 4, 24, true},
        {"CardCanvas", 2, 241, 70, 90, 170, 25, true},
        {"FudaCanvas", 2, 251, 76, 70, 160, 0, true},
        {"CardCanvas", 3, 355, 70, 90, 170, 26, true},
        {"FudaCanvas", 3, 365, 76, 70, 160, 0, true},
        {"CardCanvas", 4, 462, 70, 90, 170, 27, true},
        {"FudaCanvas", 4, 472, 76, 70, 160, 0, true},
        {"CardCanvas", 5, 21, 258, 90, 170, 28, true},
        {"FudaCanvas", 5, 31, 264, 70, 160, 0, true},
        {"CardCanvas", 6, 132, 258, 90, 170, 29, true},
        {"FudaCanvas", 6, 142, 264, 70, 160, 0, true},
        {"CardCanvas", 7, 241, 258, 90, 170, 30, true},
        {"FudaCanvas", 7, 251, 264, 70, 160, 0, true},
        {"CardCanvas", 8, 355, 259, 90, 170, 31, true},
        {"FudaCanvas", 8, 365, 265, 70, 160, 0, true},
        {"CardCanvas", 9, 462, 259, 90, 170, 32, true},
        {"FudaCanvas", 9, 472, 265, 70, 160, 0, true},
        {"MyField", -1, 355, 512, 205, 30, 33, false},
        {"MyCanvas", -1, 419, 452, 50, 50, 34, true},
    };
    const auto& controls = window->Controls();
    ASSERT_EQ(controls.size(), std::size(rows));
    for (size_t i = 0; i < controls.size(); ++i) {
        const Row& row = rows[i];
        const fw::Control& control = *controls[i];
        SCOPED_TRACE(std::to_string(i + 1) + " " + row.name);
        EXPECT_EQ(control.Name(), row.name);
        EXPECT_EQ(control.Index(), row.index < 0 ? fw::kNoControlSetIndex : row.index);
        const auto* rect = dynamic_cast<const fw::RectControl*>(&control);
        if (rect == nullptr) {
            continue;
        }
        EXPECT_EQ(QRect(rect->Left(), rect->Top(), rect->Width(), rect->Height()),
                  QRect(row.left, row.top, row.width, row.height));
        EXPECT_EQ(rect->TabIndex(), row.tabIndex);
        EXPECT_EQ(rect->Visible(), row.visible);
    }
}

TEST_F(MainWindowTest, CardFacesLieInsideTheirFrames) {
    for (int64_t slot = 0; slot <= 9; ++slot) {
        fw::Ref<fw::Canvas> frame = window->CardCanvas(slot);
        fw::Ref<fw::Canvas> face = window->FudaCanvas(slot);
        EXPECT_EQ(Widget(*face)->parentWidget(), Widget(*frame)) << slot;
        EXPECT_STREQ(frame->ClassName(), "KarutaWindow.CardCanvas");
        EXPECT_STREQ(face->ClassName(), "KarutaWindow.FudaCanvas");
        EXPECT_EQ(face->Index(), slot);
        const QRect outer(frame->Left(), frame->Top(), 90, 170);
        EXPECT_TRUE(outer.contains(QRect(face->Left(), face->Top(), 70, 160))) << slot;
        EXPECT_TRUE(face->HasEventHandler(fw::kMouseDownEvent));
        EXPECT_FALSE(frame->HasEventHandler(fw::kMouseDownEvent));
    }
}

TEST_F(MainWindowTest, FontsKeepTheirDeclaredNamesByteForByte) {
    EXPECT_EQ(window->StaticText3()->TextFont(), "MS 明朝");
    EXPECT_EQ(window->ShogoText()->TextFont(), "平成明朝\r");
    EXPECT_EQ(window->ScoreFiled()->TextFont(), "System");
    EXPECT_EQ(window->MyField()->TextFont(), "System");
    // The open handler gives these four the window's font.
    EXPECT_EQ(window->OdaiField()->TextFont(), "平成明朝");
    EXPECT_EQ(window->StartButton()->TextFont(), "平成明朝");
    EXPECT_EQ(window->StaticText1()->TextFont(), "平成明朝");
    EXPECT_EQ(window->StaticText2()->TextFont(), "平成明朝");
}

TEST_F(MainWindowTest, ThePoemArraysHoldEveryPoemByItsNumber) {
    for (int64_t p = 0; p < 100; ++p) {
        const std::string whole = (*window->OdaiString)(p);
        const std::string lower = (*window->FudaString)(p);
        EXPECT_EQ(whole, deck::WholePoem(p)) << p;
        EXPECT_EQ(lower, deck::LowerPhrase(p)) << p;
        ASSERT_GE(whole.size(), lower.size());
        EXPECT_EQ(whole.substr(whole.size() - lower.size()), lower) << p;
    }
    // The copy boundary: poem 49 is the last row of the first list, poem 50 the first row of
    // the second.
    EXPECT_EQ((*window->OdaiString)(49), window->ListBox1()->List(49));
    EXPECT_EQ((*window->OdaiString)(50), window->ListBox3()->List(0));
    EXPECT_EQ(fw::Left((*window->OdaiString)(0), 18), "あきのたのかりほのいほのとまをあらみ");
    EXPECT_EQ(fw::Left((*window->OdaiString)(50), 5), "かくとだに");
}

TEST_F(MainWindowTest, TheListBoxesCarryThePoemListsAsDeclared) {
    const std::pair<const char*, const std::string& (*)()> lists[] = {
        {"ListBox1", &deck::ListBox1InitialValue},
        {"ListBox2", &deck::ListBox2InitialValue},
        {"ListBox3", &deck::ListBox3InitialValue},
        {"ListBox4", &deck::ListBox4InitialValue},
    };
    for (const auto& [name, initialValue] : lists) {
        fw::Ref<fw::Listbox> box = fw::Cast<fw::Listbox>(window->_ControlByName(name));
        EXPECT_EQ(box->InitialValue(), initialValue()) << name;
        EXPECT_EQ(box->ListCount(), 50) << name;
    }
    // The timer's list is two Integer entries; the first whole-poem list runs to 5,496 bytes.
    for (const auto& d : game::MainWindowControls()) {
        if (std::string_view(d.name) == "MyTimer") {
            EXPECT_EQ(d.propertyList().Bytes().size(), 28u);
        }
        if (std::string_view(d.name) == "ListBox1") {
            EXPECT_EQ(d.propertyList().Bytes().size(), 5496u);
        }
    }
}

TEST_F(MainWindowTest, TheImplicitInstanceReturnsTheOpenWindow) {
    fw::Ref<game::KarutaWindow> again = game::KarutaWindow::Instance();
    EXPECT_EQ(again.Get(), window.Get());
    int mainWindows = 0;
    for (const fw::Ref<fw::Window>& open : fw::Window::OpenWindows()) {
        mainWindows += std::string(open->ClassName()) == game::KarutaWindow::kClassName;
    }
    EXPECT_EQ(mainWindows, 1);
}

TEST_F(MainWindowTest, TheMenuBarHoldsItsFourteenEntriesInOrder) {
    fw::Ref<fw::MenuBar> bar = window->MenuBar();
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar.Get(), game::MenuBar1::Instance().Get());

    struct Entry {
        const char* name;
        const char* text;
        const char* shortcut;
        int64_t children;
    };
    const Entry top[] = {{"UntitledMenu1", "", "", 0},
                         {"FileMenu", "ファイル(&F)", "", 2},
                         {"EditMenu", "編集(&E)", "", 8},
                         {"UntitledMenu2", "", "", 0}};
    ASSERT_EQ(bar->Count(), 4);
    for (int64_t i = 0; i < 4; ++i) {
        fw::Ref<fw::MenuItem> item = bar->Item(i);
        EXPECT_EQ(item->Name(), top[i].name);
        EXPECT_EQ(item->Text(), top[i].text);
        EXPECT_EQ(item->Count(), top[i].children);
    }
    const Entry file[] = {{"FileQuit", "終了(&X)", "Cmd+Q", 0}, {"UntitledMenu5", "", "", 0}};
    const Entry edit[] = {
        {"EditUndo", "取り消し", "Cmd+Z", 0},  {"UntitledMenu0", "-", "", 0},
        {"EditCut", "カット", "Cmd+X", 0},     {"EditCopy", "コピー", "Cmd+C", 0},
        {"EditPaste", "貼り付け", "Cmd+V", 0}, {"EditClear", "クリア", "", 0},
        {"UntitledMenu4", "", "", 0},          {"UntitledMenu3", "", "", 0},
    };
    auto check = [](const fw::Ref<fw::MenuItem>& menu, const Entry* entries, int64_t count) {
        ASSERT_EQ(menu->Count(), count);
        for (int64_t i = 0; i < count; ++i) {
            fw::Ref<fw::MenuItem> item = menu->Item(i);
            EXPECT_EQ(item->Name(), entries[i].name);
            EXPECT_EQ(item->Text(), entries[i].text);
            EXPECT_EQ(item->KeyboardShortcut(), entries[i].shortcut);
            EXPECT_TRUE(item->AutoEnable());
            EXPECT_TRUE(item->Visible());
        }
    };
    check(window->FileMenu(), file, 2);
    check(window->EditMenu(), edit, 8);
    // The accessors give each item as its own class.
    EXPECT_STREQ(window->FileQuit()->ClassName(), "QuitMenuItem");
    EXPECT_STREQ(window->UntitledMenu3()->ClassName(), "AppleMenuItem");
    EXPECT_THROW(fw::Cast<fw::QuitMenuItem>(fw::Ref<fw::MenuItem>(window->EditCut())),
                 fw::IllegalCastException);
}

}  // namespace
