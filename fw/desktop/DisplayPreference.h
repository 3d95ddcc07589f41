#pragma once

namespace fw {

// Which display the program's windows go to on a Wayland session where an X server runs beside
// the compositor (both are there on Debian's own desktop): Wayland, as Qt would choose, or X,
// with Wayland as the fall-back where X does not answer. Elsewhere there is one display to use.
enum class DisplayPreference { kWayland, kX };

}  // namespace fw
