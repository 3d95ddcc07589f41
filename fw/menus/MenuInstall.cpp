#include "fw/menus/MenuInstall.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include "fw/core/Dispatch.h"
#include "fw/menus/Menu.h"

namespace fw::detail {
namespace {

// The object name under which a window finds the bar it was given, to replace it.
constexpr const char* kBarName = "fwMenuBar";

QAction::MenuRole RoleOf(const MenuItem& item) {
    if (dynamic_cast<const QuitMenuItem*>(&item) != nullptr) {
        return QAction::QuitRole;
    }
    if (dynamic_cast<const AppleMenuItem*>(&item) != nullptr) {
        return QAction::ApplicationSpecificRole;
    }
    // No guessing from the caption: only the classes above move to the application menu.
    return QAction::NoRole;
}

void Describe(QAction& action, const MenuItem& item) {
    action.setText(QString::fromStdString(item.Text()));
    action.setVisible(item.Visible());
    action.setEnabled(item.AutoEnable());
    action.setMenuRole(RoleOf(item));
}

// Adds the actions of parent's children to menu, and every command action to window as well.
void AddItems(QWidget& window, QMenu& menu, const MenuItem& parent) {
    for (int64_t i = 0; i < parent.Count(); ++i) {
        const Ref<MenuItem> item = parent.Item(i);
        if (item->IsSeparator()) {
            QAction* separator = menu.addSeparator();
            separator->setVisible(item->Visible());
            continue;
        }
        if (item->Count() > 0) {
            QMenu* submenu = menu.addMenu(QString::fromStdString(item->Text()));
            Describe(*submenu->menuAction(), *item);
            AddItems(window, *submenu, *item);
            continue;
        }
        QAction* action = menu.addAction(QString());
        Describe(*action, *item);
        action->setShortcut(
            QKeySequence(QString::fromStdString(PlatformShortcut(item->KeyboardShortcut())),
                         QKeySequence::PortableText));
        action->setShortcutContext(Qt::WindowShortcut);
        // The action keeps only the handle: when the item is gone the action does nothing.
        std::shared_ptr<MenuItemHandle> handle = item->_Handle();
        QObject::connect(action, &QAction::triggered, action, [handle]() {
            if (handle->item != nullptr) {
                ChooseMenuItem(*handle->item);
            }
        });
        window.addAction(action);
    }
}

void RemoveInstalledBar(QWidget& window) {
    auto* old = window.findChild<QMenuBar*>(kBarName, Qt::FindDirectChildrenOnly);
    if (old == nullptr) {
        return;
    }
    // The actions belong to the old bar; they leave the window with it. Deleted later, not now,
    // since a menu command may be what replaces the bar.
    for (QAction* action : old->findChildren<QAction*>()) {
        window.removeAction(action);
    }
    old->setObjectName(QString());
    old->hide();
    old->deleteLater();
}

}  // namespace

void InstallMenuBar(QWidget* window, MenuBar* bar, bool visible) {
    if (window == nullptr) {
        throw NilObjectException("InstallMenuBar: no window");
    }
    RemoveInstalledBar(*window);
    if (bar == nullptr) {
        return;
    }
    auto* widget = new QMenuBar(window);
    widget->setObjectName(kBarName);
#ifndef Q_OS_MACOS
    // Elsewhere than macOS the bar belongs inside its window, never to a desktop-wide menu.
    widget->setNativeMenuBar(false);
#endif
    for (int64_t i = 0; i < bar->Count(); ++i) {
        const Ref<MenuItem> entry = bar->Item(i);
        QMenu* menu = widget->addMenu(QString::fromStdString(entry->Text()));
        Describe(*menu->menuAction(), *entry);
        AddItems(*window, *menu, *entry);
    }
    // The bar lies across the window's top edge; the window keeps its content below it.
    widget->setGeometry(0, 0, window->width(), widget->sizeHint().height());
    widget->setVisible(visible);
}

QWidget* InstalledMenuBar(QWidget* window) {
    if (window == nullptr) {
        return nullptr;
    }
    return window->findChild<QMenuBar*>(kBarName, Qt::FindDirectChildrenOnly);
}

void ChooseMenuItem(MenuItem& item) noexcept {
    Dispatch([&item]() {
        const Ref<MenuItem> hold(&item);
        item._Choose();
    });
}

}  // namespace fw::detail
