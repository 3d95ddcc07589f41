#include "fw/desktop/X11Properties.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace fw::detail {
namespace {

struct FreeReply {
    void operator()(void* reply) const noexcept { std::free(reply); }
};
template <class T>
using Reply = std::unique_ptr<T, FreeReply>;

// The program's connection to the X server, or null when it is not on X.
xcb_connection_t* X11Connection() {
    const auto* x11 = qGuiApp != nullptr
                          ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                          : nullptr;
    return x11 != nullptr ? x11->connection() : nullptr;
}

// The atom of that name; with onlyIfExists, XCB_ATOM_NONE for a name the server has never seen
// (so no property can have it).
xcb_atom_t Atom(xcb_connection_t* connection, const char* name, bool onlyIfExists) {
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection,
                              xcb_intern_atom(connection, onlyIfExists ? 1 : 0,
                                              static_cast<uint16_t>(std::strlen(name)), name),
                              nullptr));
    return reply != nullptr ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

}  // namespace

std::string RootWindowText(const char* property) {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr) {
        return {};
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_atom_t atom = Atom(connection, property, /*onlyIfExists=*/true);
    if (screen == nullptr || atom == XCB_ATOM_NONE) {
        return {};
    }
    // 128 four-byte units: far more than any bus address needs.
    const Reply<xcb_get_property_reply_t> value(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, /*_delete=*/0, screen->root, atom, XCB_ATOM_STRING, 0, 128),
        nullptr));
    // Its bytes, whatever the format it is stored in: Qt's bridge reads them so.
    if (value == nullptr || value->type != XCB_ATOM_STRING) {
        return {};
    }
    const auto* text = static_cast<const char*>(xcb_get_property_value(value.get()));
    return std::string(text, static_cast<size_t>(xcb_get_property_value_length(value.get())));
}

void EmptyX11WindowNames(const QWidget& window) noexcept {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr || window.internalWinId() == 0) {
        return;
    }
    const auto id = static_cast<xcb_window_t>(window.internalWinId());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        0, nullptr);
    const xcb_atom_t netWmName = Atom(connection, "_NET_WM_NAME", /*onlyIfExists=*/false);
    const xcb_atom_t utf8String = Atom(connection, "UTF8_STRING", /*onlyIfExists=*/false);
    if (netWmName != XCB_ATOM_NONE && utf8String != XCB_ATOM_NONE) {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, netWmName, utf8String, 8, 0,
                            nullptr);
    }
    xcb_flush(connection);
}

}  // namespace fw::detail
