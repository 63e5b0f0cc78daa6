#include "scene/text_node.hpp"

#include <gtest/gtest.h>

namespace {

TEST(TextNodeTest, StaysCentredAfterALongerString) {
    holder::ResourceHolder<sf::Font, holder::FontId> fonts;
    fonts.Load(holder::FontId::Main, holder::FileOf(holder::FontId::Main));
    scene::TextNode node(fonts, "80 HP");
    node.SetString("100 HP and a longer line");
    const sf::FloatRect bounds = node.GetText().getLocalBounds();
    EXPECT_FLOAT_EQ(node.GetText().getOrigin().x, bounds.width / 2);
    EXPECT_FLOAT_EQ(node.GetText().getOrigin().y, bounds.height / 2);
}

}  // namespace
