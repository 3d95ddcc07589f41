#include "fw/desktop/StartupMessages.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "fw/core/ProgramName.h"
#include "fw/desktop/DisplayPlatform.h"

namespace fw::detail {
namespace {

struct HeldMessage {
    QtMsgType type;
    std::optional<std::string> file;
    int line;
    std::optional<std::string> function;
    std::optional<std::string> category;
    QString text;
};
std::vector<HeldMessage> gHeld;
QtMessageHandler gPassOn = nullptr;
bool gPassEverythingOn = false;

// Qt tries the platforms of its list in turn. Each one that does not start is ended by a line of
// Qt's own naming it: "Could not find the Qt platform plugin" when it is not installed, "Could not
// load" when it is installed and did not start. A plugin that loaded and could not open its
// display has said why first; one that did not load at all (a library it needs is missing or
// broken) has said nothing.
constexpr QLatin1StringView kPlatformNotFound("Could not find the Qt platform plugin \"");
constexpr QLatin1StringView kPlatformNotLoaded("Could not load the Qt platform plugin \"");

// The platform that a held message says did not start, or nothing.
std::optional<QString> PlatformThatFailed(const HeldMessage& held) {
    if (held.category != "qt.qpa.plugin") {
        return std::nullopt;
    }
    for (const QLatin1StringView opening : {kPlatformNotFound, kPlatformNotLoaded}) {
        if (held.text.startsWith(opening)) {
            const qsizetype from = opening.size();
            return held.text.mid(from, held.text.indexOf(u'"', from) - from);
        }
    }
    return std::nullopt;
}

// The one line that takes the place of Qt's when no platform started: each platform tried, with
// the display it could not open and what it said of that, or, for a platform that is not
// installed or did not load, Qt's line saying so.
std::string NoPlatformLine(const QString& fatalText) {
    std::string line = std::string(ProgramName()) + ": ";
    QStringList reasons;
    bool first = true;
    for (const HeldMessage& held : gHeld) {
        const std::optional<QString> platform = PlatformThatFailed(held);
        if (!platform) {
            if (held.type != QtDebugMsg && held.type != QtInfoMsg) {
                reasons.append(held.text.trimmed());
            }
            continue;
        }
        const bool displayNotOpened =
            held.text.startsWith(kPlatformNotLoaded) && !reasons.isEmpty();
        if (!displayNotOpened) {
            reasons = {held.text.trimmed()};
        }
        const std::string name = platform->toStdString();
        line += (first ? "" : "; ") +
                (displayNotOpened ? CannotOpenDisplay(name) : CannotStartPlatform(name)) + ": " +
                reasons.join(QLatin1String("; ")).toStdString();
        reasons.clear();
        first = false;
    }
    if (first) {
        line += "cannot start: " + fatalText.section(u'\n', 0, 0).toStdString();
    }
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line;
}

std::optional<std::string> Copy(const char* text) {
    return text != nullptr ? std::optional<std::string>(text) : std::nullopt;
}

const char* Pointer(const std::optional<std::string>& text) {
    return text ? text->c_str() : nullptr;
}

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) noexcept {
    if (type == QtFatalMsg) {
        try {
            std::fprintf(stderr, "%s\n", NoPlatformLine(text).c_str());
        } catch (...) {
            std::fprintf(stderr, "%s: cannot start the display platform\n", ProgramName());
        }
        std::fflush(stderr);
        // Inside Qt's constructor: nothing may unwind or be torn down from here.
        std::_Exit(1);
    }
    if (gPassEverythingOn) {
        gPassOn(type, context, text);
        return;
    }
    try {
        gHeld.push_back({type, Copy(context.file), context.line, Copy(context.function),
                         Copy(context.category), text});
    } catch (...) {
        // Out of memory: the message is lost rather than thrown into Qt.
    }
}

}  // namespace

void HoldQtStartMessages() {
    gPassEverythingOn = !qEnvironmentVariableIsEmpty("QT_FATAL_WARNINGS") ||
                        !qEnvironmentVariableIsEmpty("QT_FATAL_CRITICALS");
    gPassOn = qInstallMessageHandler(&HoldMessage);
}

void ReleaseQtStartMessages(bool dropFailedPlatforms) {
    qInstallMessageHandler(gPassOn);
    if (dropFailedPlatforms) {
        const auto last = std::find_if(gHeld.rbegin(), gHeld.rend(), [](const HeldMessage& held) {
            return PlatformThatFailed(held).has_value();
        });
        gHeld.erase(gHeld.begin(), last.base());
    }
    for (const HeldMessage& held : gHeld) {
        const QMessageLogContext context(Pointer(held.file), held.line, Pointer(held.function),
                                         Pointer(held.category));
        qt_message_output(held.type, context, held.text);
    }
    gHeld.clear();
}

}  // namespace fw::detail
