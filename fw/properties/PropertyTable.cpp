#include "fw/properties/PropertyTable.h"

namespace fw::detail {

void ThrowNoSuchProperty(const char* className, std::string_view name) {
    throw RuntimeException(std::string(className) + " has no property " + std::string(name));
}

void ThrowPropertyTypeMismatch(const char* className, std::string_view name) {
    throw RuntimeException(std::string("value of another type for ") + className + "." +
                           std::string(name));
}

}  // namespace fw::detail
