#include "fw/desktop/StartupMessages.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#ifdef __linux__
#include <link.h>
#endif

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
    bool afterALibraryLoaded;  // a library had been loaded since the holding began
};
std::vector<HeldMessage> gHeld;
QtMessageHandler gPassOn = nullptr;
bool gPassEverythingOn = false;
unsigned long long gLibrariesLoadedAtHold = 0;

// How many libraries the process has loaded since it started, those unloaded since included.
// Before its first platform Qt loads none (it reads the plugins' descriptions from their files
// without loading them), so the count moves first when a platform plugin is loaded.
unsigned long long LibrariesLoaded() noexcept {
    unsigned long long loaded = 0;
#ifdef __linux__
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t size, void* count) {
            if (size >= offsetof(dl_phdr_info, dlpi_adds) + sizeof info->dlpi_adds) {
                *static_cast<unsigned long long*>(count) = info->dlpi_adds;
            }
            return 1;  // the first object tells it
        },
        &loaded);
#endif
    return loaded;
}

// Qt ends the process at the warning (or critical) that QT_FATAL_WARNINGS (QT_FATAL_CRITICALS)
// counts down to: the variable is read as a number, in C's notations, and where it is not one (but
// not empty) as 1. A count of zero or below never comes.
bool QtEndsAtSomeMessage(const char* variable) {
    const QByteArray value = qgetenv(variable);
    if (value.isEmpty()) {
        return false;
    }
    bool isNumber = false;
    const int count = value.toInt(&isNumber, 0);
    return !isNumber || count > 0;
}

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

std::optional<std::string> Copy(const char* text) {
    return text != nullptr ? std::optional<std::string>(text) : std::nullopt;
}

const char* Pointer(const std::optional<std::string>& text) {
    return text ? text->c_str() : nullptr;
}

// The categories that Qt's platform plugins speak in.
bool InAPlatformCategory(const HeldMessage& held) {
    return held.category && held.category->rfind("qt.qpa.", 0) == 0;
}

constexpr std::size_t kNoPlatform = static_cast<std::size_t>(-1);

// For each held message, the platform it was said of, as the index of the held line that says
// that platform did not start, or kNoPlatform. Qt says nothing of its own between one platform's
// end and the next one's start, so what comes after a platform's line, up to the next one, is
// the next platform's. What comes before the first one is that platform's where the platform can
// have said it: once its plugin is loaded, or in a platform category. A message said before then
// (the environment Qt reads first) belongs to no platform, nor does what follows the last line.
std::vector<std::size_t> PlatformOfEach() {
    std::vector<std::size_t> platform(gHeld.size(), kNoPlatform);
    std::size_t from = 0;
    for (std::size_t i = 0; i < gHeld.size(); ++i) {
        if (!PlatformThatFailed(gHeld[i])) {
            continue;
        }
        for (std::size_t j = from; j <= i; ++j) {
            const HeldMessage& held = gHeld[j];
            if (from > 0 || j == i || held.afterALibraryLoaded || InAPlatformCategory(held)) {
                platform[j] = i;
            }
        }
        from = i + 1;
    }
    return platform;
}

void PassOn(const HeldMessage& held, QtMessageHandler handler) {
    const QMessageLogContext context(Pointer(held.file), held.line, Pointer(held.function),
                                     Pointer(held.category));
    handler(held.type, context, held.text);
}

// When no platform started: what Qt said of no platform goes out as Qt gave it, then the one line
// that takes the place of the rest: each platform tried, with the display it could not open and
// what it said of that, or, for a platform that is not installed or did not load, Qt's line
// saying so.
void SayNoPlatformStarted(const QString& fatalText) {
    const std::vector<std::size_t> platformOf = PlatformOfEach();
    std::string line = std::string(ProgramName()) + ": ";
    QStringList reasons;
    bool first = true;
    for (std::size_t i = 0; i < gHeld.size(); ++i) {
        const HeldMessage& held = gHeld[i];
        if (platformOf[i] == kNoPlatform) {
            PassOn(held, gPassOn);
            continue;
        }
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
    std::fprintf(stderr, "%s\n", line.c_str());
}

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) noexcept {
    if (type == QtFatalMsg) {
        try {
            SayNoPlatformStarted(text);
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
                         Copy(context.category), text,
                         LibrariesLoaded() != gLibrariesLoadedAtHold});
    } catch (...) {
        // Out of memory: the message is lost rather than thrown into Qt.
    }
}

}  // namespace

void HoldQtStartMessages() {
    gPassEverythingOn =
        QtEndsAtSomeMessage("QT_FATAL_WARNINGS") || QtEndsAtSomeMessage("QT_FATAL_CRITICALS");
    gLibrariesLoadedAtHold = LibrariesLoaded();
    gPassOn = qInstallMessageHandler(&HoldMessage);
}

void ReleaseQtStartMessages(bool dropFailedPlatforms) {
    qInstallMessageHandler(gPassOn);
    const std::vector<std::size_t> platformOf = PlatformOfEach();
    for (std::size_t i = 0; i < gHeld.size(); ++i) {
        if (!dropFailedPlatforms || platformOf[i] == kNoPlatform) {
            PassOn(gHeld[i], &qt_message_output);
        }
    }
    gHeld.clear();
}

}  // namespace fw::detail
