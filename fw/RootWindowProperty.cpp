#include "fw/detail/RootWindowProperty.h"

#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <QGuiApplication>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace fw::detail {
namespace {

struct FreeReply {
    void operator()(void* reply) const noexcept { std::free(reply); }
};

}  // namespace

std::string RootWindowText(const char* property) {
#if QT_CONFIG(xcb)
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) {
        return {};
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const std::unique_ptr<xcb_intern_atom_reply_t, FreeReply> atom(xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, /*only_if_exists=*/1,
                        static_cast<uint16_t>(std::strlen(property)), property),
        nullptr));
    if (screen == nullptr || atom == nullptr || atom->atom == XCB_ATOM_NONE) {
        return {};
    }
    // 128 four-byte units: far more than any bus address needs.
    const std::unique_ptr<xcb_get_property_reply_t, FreeReply> value(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, /*_delete=*/0, screen->root, atom->atom,
                                                XCB_ATOM_STRING, 0, 128),
                               nullptr));
    if (value == nullptr || value->type != XCB_ATOM_STRING || value->format != 8) {
        return {};
    }
    const auto* text = static_cast<const char*>(xcb_get_property_value(value.get()));
    return std::string(text, static_cast<size_t>(xcb_get_property_value_length(value.get())));
#else
    (void)property;
    return {};
#endif
}

}  // namespace fw::detail
