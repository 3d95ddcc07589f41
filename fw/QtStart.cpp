#include "fw/detail/QtStart.h"

#include <QApplication>

namespace fw::detail {
namespace {

// Qt keeps references to the argument count and vector for the application's lifetime, so they
// live here: the program name and the null that ends the vector.
int gArgc = 1;
char* gArgv[] = {nullptr, nullptr};

}  // namespace

QApplication* StartQt(int argc, char** argv) {
    static char fallbackName[] = "karuta";
    gArgv[0] = argv != nullptr && argc > 0 && argv[0] != nullptr ? argv[0] : fallbackName;
    return new QApplication(gArgc, gArgv);
}

}  // namespace fw::detail
