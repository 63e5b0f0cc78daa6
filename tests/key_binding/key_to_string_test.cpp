#include "key_binding/key_to_string.hpp"

#include <gtest/gtest.h>

namespace {

TEST(KeyToStringTest, NamesKeysAndMarksTheUnnamedAndOutOfRange) {
    const std::pair<int, const char*> cases[] = {
        {sf::Keyboard::Unknown, "Unknown"}, {sf::Keyboard::A, "A"},          {sf::Keyboard::Comma, "Comma"},
        {sf::Keyboard::Quote, "Undefined"}, {sf::Keyboard::Tilde, "Undefined"}, {sf::Keyboard::Hyphen, "Undefined"},
        {sf::Keyboard::Equal, "Equal"},     {sf::Keyboard::Down, "Down"},    {sf::Keyboard::Numpad9, "Numpad9"},
        {sf::Keyboard::F15, "F15"},         {sf::Keyboard::Pause, "Pause"},  {sf::Keyboard::KeyCount, "Undefined"},
        {-2, "Undefined"},
    };
    for (const auto& [key, name] : cases) EXPECT_EQ(KeyToString(static_cast<sf::Keyboard::Key>(key)), name) << key;
}

}  // namespace
