#include "key_binding/key_to_string.hpp"

#include <array>
#include <cstddef>

namespace {

// Indexed by key code. Apostrophe, grave and hyphen have no name of their own.
constexpr std::array<const char*, sf::Keyboard::KeyCount> key_names = {
    "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O", "P", "Q", "R", "S",
    "T", "U", "V", "W", "X", "Y", "Z",
    "Num0", "Num1", "Num2", "Num3", "Num4", "Num5", "Num6", "Num7", "Num8", "Num9",
    "Escape", "LControl", "LShift", "LAlt", "LSystem", "RControl", "RShift", "RAlt", "RSystem", "Menu",
    "LBracket", "RBracket", "Semicolon", "Comma", "Period", "Undefined", "Slash", "Backslash",
    "Undefined", "Equal", "Undefined",
    "Space", "Enter", "Backspace", "Tab", "PageUp", "PageDown", "End", "Home", "Insert", "Delete",
    "Add", "Subtract", "Multiply", "Divide", "Left", "Right", "Up", "Down",
    "Numpad0", "Numpad1", "Numpad2", "Numpad3", "Numpad4", "Numpad5", "Numpad6", "Numpad7",
    "Numpad8", "Numpad9",
    "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12", "F13", "F14", "F15",
    "Pause",
};

static_assert(sf::Keyboard::KeyCount == 101);
static_assert(key_names.back() != nullptr, "every key code has a name");

}  // namespace

std::string KeyToString(sf::Keyboard::Key key) {
    if (key == sf::Keyboard::Unknown) return "Unknown";
    if (key < 0 || key >= sf::Keyboard::KeyCount) return "Undefined";
    return key_names[static_cast<std::size_t>(key)];
}
