#include "display/display_check.hpp"

#include <X11/Xlib.h>

#include <cstdlib>

namespace display {

std::optional<std::string> GraphicalDisplayProblem() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) return "DISPLAY is not set (start it from a desktop session)";
    Display* connection = XOpenDisplay(nullptr);
    if (!connection) return std::string("cannot open the X display \"") + name + "\"";
    XCloseDisplay(connection);
    return std::nullopt;
}

}  // namespace display
