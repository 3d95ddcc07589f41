// Menu trees, shortcut texts, the menu widgets a window gets from a tree, and what choosing an
// item does.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "fw/core/Dispatch.h"
#include "fw/menus/Menu.h"
#include "fw/menus/MenuInstall.h"
#include "fw/runtime/Application.h"
#include "fw/runtime/Runtime.h"
#include "fw/ui/TestAccess.h"
#include "tests/support/WidgetTestWindow.h"

namespace {

enum class Kind { Item, Quit, Apple };

struct Row {
    const char* parent;  // nullptr: a top-level entry of the bar.
    const char* name;
    Kind kind;
    const char* text;
    const char* shortcut;
};

// The game's menu bar, in the order it is built.
const Row kGameMenu[] = {
    {nullptr, "UntitledMenu1", Kind::Item, "", ""},
    {nullptr, "FileMenu", Kind::Item, "ファイル(&F)", ""},
    {"FileMenu", "FileQuit", Kind::Quit, "終了(&X)", "Cmd+Q"},
    {"FileMenu", "UntitledMenu5", Kind::Item, "", ""},
    {nullptr, "EditMenu", Kind::Item, "編集(&E)", ""},
    {"EditMenu", "EditUndo", Kind::Item, "取り消し", "Cmd+Z"},
    {"EditMenu", "UntitledMenu0", Kind::Item, "-", ""},
    {"EditMenu", "EditCut", Kind::Item, "カット", "Cmd+X"},
    {"EditMenu", "EditCopy", Kind::Item, "コピー", "Cmd+C"},
    {"EditMenu", "EditPaste", Kind::Item, "貼り付け", "Cmd+V"},
    {"EditMenu", "EditClear", Kind::Item, "クリア", ""},
    {"EditMenu", "UntitledMenu4", Kind::Item, "", ""},
    {"EditMenu", "UntitledMenu3", Kind::Apple, "", ""},
    {nullptr, "UntitledMenu2", Kind::Item, "", ""},
};
constexpr int kCommandItems = 9;  // Items that are neither menus nor separators.

fw::Ref<fw::MenuItem> NewItem(Kind kind) {
    switch (kind) {
        case Kind::Quit:
            return fw::RuntimeNewObject<fw::QuitMenuItem>();
        case Kind::Apple:
            return fw::RuntimeNewObject<fw::AppleMenuItem>();
        default:
            return fw::RuntimeNewObject<fw::MenuItem>();
    }
}

fw::Ref<fw::MenuBar> BuildGameMenu() {
    auto bar = fw::RuntimeNewObject<fw::MenuBar>();
    for (const Row& row : kGameMenu) {
        auto item = NewItem(row.kind);
        item->Constructor();
        item->SetName(row.name);
        item->SetText(row.text);
        item->SetKeyboardShortcut(row.shortcut);
        if (row.parent == nullptr) {
            bar->Append(item);
        } else {
            bar->Child(row.parent)->Append(item);
        }
    }
    return bar;
}

// Counts its choices in a counter that outlives it.
class CountingItem : public fw::MenuItem {
public:
    explicit CountingItem(std::shared_ptr<int> count) : count_(std::move(count)) {}
    void _Choose() override { ++*count_; }

private:
    std::shared_ptr<int> count_;
};

class FailingItem : public fw::MenuItem {
public:
    void _Choose() override { throw fw::RuntimeException("menu command failed"); }
};

QMenu* MenuAt(QWidget& window, int index) {
    auto* bar = qobject_cast<QMenuBar*>(fw::detail::InstalledMenuBar(&window));
    return bar == nullptr ? nullptr : bar->actions().value(index)->menu();
}

void ShowActive(QWidget& window) {
    window.resize(300, 200);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

TEST(MenuTest, TreeKeepsBuildOrderAndLooksUpDirectChildren) {
    const auto bar = BuildGameMenu();
    struct Expect {
        fw::Ref<fw::MenuItem> menu;
        std::vector<std::string> names;
    };
    const Expect expects[] = {
        {bar, {"UntitledMenu1", "FileMenu", "EditMenu", "UntitledMenu2"}},
        {bar->Child("FileMenu"), {"FileQuit", "UntitledMenu5"}},
        {bar->Child("EditMenu"),
         {"EditUndo", "UntitledMenu0", "EditCut", "EditCopy", "EditPaste", "EditClear",
          "UntitledMenu4", "UntitledMenu3"}},
    };
    for (const Expect& e : expects) {
        ASSERT_FALSE(e.menu.IsNil());
        std::vector<std::string> names;
        for (int64_t i = 0; i < e.menu->Count(); ++i) {
            names.push_back(e.menu->Item(i)->Name());
            EXPECT_EQ(e.menu->Item(i)->Parent(), e.menu.Get());
        }
        EXPECT_EQ(names, e.names);
        EXPECT_THROW(e.menu->Item(-1), fw::OutOfBoundsException);
        EXPECT_THROW(e.menu->Item(e.menu->Count()), fw::OutOfBoundsException);
    }
    EXPECT_TRUE(bar->Child("FileQuit").IsNil()) << "Child looks at direct children only";
    EXPECT_TRUE(bar->Child("").IsNil());
    EXPECT_NE(dynamic_cast<fw::QuitMenuItem*>(bar->Child("FileMenu")->Child("FileQuit").Get()),
              nullptr);
    EXPECT_TRUE(bar->Child("EditMenu")->Child("UntitledMenu0")->IsSeparator());
}

TEST(MenuTest, AppendRejectsNilAndCyclesAndMovesAnAttachedItem) {
    auto root = fw::MakeRef<fw::MenuItem>();
    auto menu = fw::MakeRef<fw::MenuItem>();
    auto other = fw::MakeRef<fw::MenuItem>();
    root->Append(menu);
    root->Append(other);
    EXPECT_THROW(root->Append(nullptr), fw::NilObjectException);
    EXPECT_THROW(menu->Append(menu), fw::RuntimeException);
    EXPECT_THROW(menu->Append(root), fw::RuntimeException);
    EXPECT_EQ(menu->Count(), 0);

    auto item = fw::MakeRef<fw::MenuItem>();
    menu->Append(item);
    other->Append(item);
    EXPECT_EQ(menu->Count(), 0);
    ASSERT_EQ(other->Count(), 1);
    EXPECT_EQ(other->Item(0), item);
    EXPECT_EQ(item->Parent(), other.Get());
}

TEST(MenuTest, ShortcutTextBecomesThePlatformKey) {
    struct Case {
        const char* declared;
        const char* portable;
    };
    const Case cases[] = {
        {"Cmd+Q", "Ctrl+Q"},
        {"", ""},
        {"command+z", "Ctrl+z"},
        {"Cmd+Shift+Z", "Ctrl+Shift+Z"},
        {"Option+Cmd+X", "Alt+Ctrl+X"},
        {"Cmd++", "Ctrl++"},
        {"Q", "Q"},
        {"F5", "F5"},
        {"Ctrl+Q", "Ctrl+Q"},
        {"Cmdx+Q", "Cmdx+Q"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fw::PlatformShortcut(c.declared), c.portable) << c.declared;
    }
    const QKeySequence quit(QString::fromStdString(fw::PlatformShortcut("Cmd+Q")),
                            QKeySequence::PortableText);
    EXPECT_EQ(quit, QKeySequence(Qt::CTRL | Qt::Key_Q));
    // The desktop's standard quit key, where the platform theme defines one (X11 desktops do;
    // the offscreen platform has none).
    const QList<QKeySequence> standardQuit = QKeySequence::keyBindings(QKeySequence::Quit);
    if (!standardQuit.isEmpty()) {
        EXPECT_TRUE(standardQuit.contains(quit));
    }
}

TEST(MenuTest, HiddenBarShowsTheTreeAndKeepsItsShortcuts) {
    fw::testing::ResetRuntime();
    const auto bar = BuildGameMenu();
    const auto quitItem = bar->Child("FileMenu")->Child("FileQuit");
    const int64_t refsBefore = quitItem->RefCount();
    QWidget window;
    fw::detail::InstallMenuBar(&window, bar.Get(), false);
    EXPECT_EQ(quitItem->RefCount(), refsBefore) << "the widgets must not own the items";

    auto* widget = qobject_cast<QMenuBar*>(fw::detail::InstalledMenuBar(&window));
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(widget->isHidden());
    ASSERT_EQ(widget->actions().size(), 4);
    QMenu* file = MenuAt(window, 1);
    QMenu* edit = MenuAt(window, 2);
    ASSERT_TRUE(file && edit);
    EXPECT_EQ(file->title(), QStringLiteral("ファイル(&F)"));
    ASSERT_EQ(file->actions().size(), 2);
    EXPECT_EQ(file->actions()[0]->text(), QStringLiteral("終了(&X)"));
    EXPECT_EQ(file->actions()[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    ASSERT_EQ(edit->actions().size(), 8);
    EXPECT_TRUE(edit->actions()[1]->isSeparator());
    EXPECT_EQ(edit->actions()[3]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
    EXPECT_TRUE(edit->actions()[5]->shortcut().isEmpty());
    EXPECT_EQ(window.actions().size(), kCommandItems);

    ShowActive(window);
    QTimer::singleShot(0, [&window] { QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier); });
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    fw::_RuntimeRun();
    EXPECT_EQ(fw::RuntimeExit(), 0) << "Ctrl+Q did not reach the quit item";
    fw::testing::ResetRuntime();
}

// A window without a bar of its own (the result window) answers the application's menu
// shortcuts, as under an application-wide menu bar; the edit keys on a focused text field still
// do what the field does with them, once.
TEST(MenuTest, AWindowWithoutABarOfItsOwnAnswersTheApplicationsShortcuts) {
    struct Case {
        Qt::Key key;
        const char* text;  // After the key on "abcdef" with "bc" selected and "XY" to paste.
        const char* clipboard;
        bool quits;
    };
    const Case cases[] = {
        {Qt::Key_Q, "abcdef", "XY", true},  {Qt::Key_X, "adef", "bc", false},
        {Qt::Key_C, "abcdef", "bc", false}, {Qt::Key_V, "aXYdef", "XY", false},
        {Qt::Key_Z, "abcdef", "XY", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QKeySequence(Qt::CTRL | c.key).toString().toStdString());
        fw::testing::ResetRuntime();
        auto app = fw::MakeRef<fw::Application>();
        app->SetMenuBar(BuildGameMenu());
        fw::_RuntimeRegisterAppObject(app);
        auto window = fw::MakeRef<fw::testing::TestWindow>();
        fw::Ref<fw::TextField> field;
        window->onCreateControls = [&field](fw::testing::TestWindow& self) {
            field = self.Add<fw::TextField>("Field");
        };
        window->Constructor();
        ASSERT_TRUE(window->MenuBar().IsNil());
        QWidget* top = fw::testing::WidgetOf(*window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(top));
        auto* edit = qobject_cast<QLineEdit*>(fw::testing::WidgetOf(*field));
        ASSERT_NE(edit, nullptr);
        edit->setText(QStringLiteral("abcdef"));
        edit->setSelection(1, 2);
        if (c.key == Qt::Key_Z) {
            edit->insert(QStringLiteral("Z"));  // Replaces the selection; undone by the key.
        }
        edit->setFocus();
        QGuiApplication::clipboard()->setText(QStringLiteral("XY"));

        QTimer::singleShot(0, [edit, &c] {
            QTest::keyClick(edit, c.key, Qt::ControlModifier);
            if (!c.quits) {
                QCoreApplication::exit(7);
            }
        });
        QTimer guard;
        QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        guard.start(5000);
        fw::_RuntimeRun();
        EXPECT_EQ(fw::RuntimeExit(), c.quits ? 0 : 7);
        EXPECT_EQ(field->Text(), c.text);
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), c.clipboard);
        window->Close();
    }
    fw::testing::ResetRuntime();
}

TEST(MenuTest, InstallingAgainReplacesTheBar) {
    const auto bar = BuildGameMenu();
    QWidget window;
    fw::detail::InstallMenuBar(&window, bar.Get(), false);
    fw::detail::InstallMenuBar(&window, bar.Get(), true);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window.findChildren<QMenuBar*>().size(), 1);
    EXPECT_EQ(window.actions().size(), kCommandItems);
    EXPECT_FALSE(fw::detail::InstalledMenuBar(&window)->isHidden());

    fw::detail::InstallMenuBar(&window, nullptr, true);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(fw::detail::InstalledMenuBar(&window), nullptr);
    EXPECT_TRUE(window.actions().isEmpty());
    EXPECT_THROW(fw::detail::InstallMenuBar(nullptr, bar.Get(), true), fw::NilObjectException);
}

TEST(MenuTest, ChoosingGoesThroughDispatchAndAnActionOutlivingItsItemDoesNothing) {
    auto count = std::make_shared<int>(0);
    QWidget window;
    QAction* action = nullptr;
    {
        auto bar = fw::MakeRef<fw::MenuBar>();
        auto menu = fw::MakeRef<fw::MenuItem>();
        auto item = fw::MakeRef<CountingItem>(count);
        bar->Append(menu);
        menu->Append(item);
        fw::detail::InstallMenuBar(&window, bar.Get(), false);
        ASSERT_EQ(window.actions().size(), 1);
        action = window.actions()[0];
        action->trigger();
        item->Trigger();
        EXPECT_EQ(*count, 2);
    }
    action->trigger();  // The tree is gone; the action must not reach freed memory.
    EXPECT_EQ(*count, 2);

    const auto failing = fw::MakeRef<FailingItem>();
    const int before = fw::testing::UnhandledExceptionCount();
    EXPECT_NO_THROW(failing->Trigger());
    EXPECT_EQ(fw::testing::UnhandledExceptionCount(), before + 1);
}

// The standard edit items act on the focused text widget, as the platform's edit menu does.
TEST(MenuTest, EditItemsActOnTheFocusedText) {
    struct Case {
        const char* item;
        bool readOnly;
        const char* expected;  // The text after choosing the item on "abcdef" with "bc" selected.
        const char* clipboard;
    };
    const Case cases[] = {
        {"EditCut", false, "adef", "bc"},     {"EditCopy", false, "abcdef", "bc"},
        {"EditPaste", false, "aXYdef", "XY"}, {"EditClear", false, "adef", "XY"},
        {"EditUndo", false, "abcdef", "XY"},  {"EditCut", true, "abcdef", "XY"},
        {"EditPaste", true, "abcdef", "XY"},  {"EditClear", true, "abcdef", "XY"},
        {"EditOther", false, "abcdef", "XY"},
    };
    QWidget window;
    auto* field = new QLineEdit(&window);
    auto* area = new QPlainTextEdit(&window);
    area->move(0, 40);
    ShowActive(window);
    for (QWidget* target : {static_cast<QWidget*>(field), static_cast<QWidget*>(area)}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.item) + (c.readOnly ? " read-only " : " ") +
                         target->metaObject()->className());
            QGuiApplication::clipboard()->setText(QStringLiteral("XY"));
            if (target == field) {
                field->setReadOnly(false);
                field->setText(QStringLiteral("abcdef"));
                field->setSelection(1, 2);
                if (std::string(c.item) == "EditUndo") {
                    field->insert(QStringLiteral("Z"));  // Replaces the selection; undone next.
                }
                field->setReadOnly(c.readOnly);
            } else {
                area->setReadOnly(false);
                area->setPlainText(QStringLiteral("abcdef"));
                QTextCursor cursor = area->textCursor();
                cursor.setPosition(1);
                cursor.setPosition(3, QTextCursor::KeepAnchor);
                area->setTextCursor(cursor);
                if (std::string(c.item) == "EditUndo") {
                    area->insertPlainText(QStringLiteral("Z"));
                }
                area->setReadOnly(c.readOnly);
            }
            target->setFocus();
            ASSERT_EQ(QApplication::focusWidget(), target);
            auto item = fw::MakeRef<fw::MenuItem>();
            item->SetName(c.item);
            item->Trigger();
            const QString text = target == field ? field->text() : area->toPlainText();
            EXPECT_EQ(text.toStdString(), c.expected);
            EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), c.clipboard);
        }
    }
}

}  // namespace
