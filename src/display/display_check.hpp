#pragma once

#include <optional>
#include <string>

namespace display {

// Why no window can be opened here (no X display to talk to), or nothing when one can. SFML
// aborts the program when it finds no display, so this is asked first.
std::optional<std::string> GraphicalDisplayProblem();

}  // namespace display
