#include "display/letterbox.hpp"

#include <gtest/gtest.h>

namespace {

// The picture keeps its 4:3 shape at every window size, centred between equal bars.
TEST(LetterboxTest, FitsThePictureWithoutStretchingIt) {
    const struct {
        unsigned width, height;
        sf::FloatRect viewport;
    } cases[] = {
        {1280, 960, {0.f, 0.f, 1.f, 1.f}},        // the usual window: no bars
        {1600, 900, {0.125f, 0.f, 0.75f, 1.f}},  // 1200 x 900, bars left and right
        {800, 800, {0.f, 0.125f, 1.f, 0.75f}},   // 800 x 600, bars above and below
        {300, 1000, {0.f, 0.3875f, 1.f, 0.225f}},  // 300 x 225
        {0, 0, {0.f, 0.f, 1.f, 1.f}},             // minimised: nothing to divide by
    };
    for (const auto& c : cases) {
        const sf::FloatRect got = display::LetterboxViewport({c.width, c.height}, {640.f, 480.f});
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        EXPECT_FLOAT_EQ(got.left, c.viewport.left);
        EXPECT_FLOAT_EQ(got.top, c.viewport.top);
        EXPECT_FLOAT_EQ(got.width, c.viewport.width);
        EXPECT_FLOAT_EQ(got.height, c.viewport.height);
    }
}

}  // namespace
