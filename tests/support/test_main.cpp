#include <gtest/gtest.h>

#include <SFML/System/Err.hpp>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Tests provoke load failures on purpose; SFML's own complaints would only add noise.
    sf::err().rdbuf(nullptr);
    return RUN_ALL_TESTS();
}
