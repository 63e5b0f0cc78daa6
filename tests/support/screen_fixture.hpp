#pragma once

#include "key_binding/key_binding.hpp"
#include "state/state_stack.hpp"
#include "support/helpers.hpp"

#include <holder/resource_holder.hpp>
#include <holder/resource_id.hpp>

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace test {

// Everything the Application lends its screens, for driving real screens on a real window.
class ScreenFixture : public ::testing::Test {
protected:
    ScreenFixture();
    ~ScreenFixture() override;

    // Registers a stand-in for `id` that records when it is created; see `created`.
    void RegisterProbe(state::StateId id);
    void Step(int count = 1);
    void Press(sf::Keyboard::Key key);
    void Release(sf::Keyboard::Key key);

    // Pushes a real screen of type T under `id`; returns the instance the stack made.
    template <typename T, typename... Args>
    T* PushScreen(state::StateId id, Args... args) {
        T* made = nullptr;
        stack.RegisterState<Made<T>>(id, &made, args...);
        stack.PushState(id);
        stack.Update(sf::Time::Zero);
        return made;
    }

    sf::RenderWindow window;
    holder::ResourceHolder<sf::Texture, holder::TextureId> textures;
    holder::ResourceHolder<sf::Font, holder::FontId> fonts;
    MusicProbe music;
    SoundProbe sounds;
    key_binding::KeyBinding key_binding_1{1, [](sf::Keyboard::Key) { return false; }};
    key_binding::KeyBinding key_binding_2{2, [](sf::Keyboard::Key) { return false; }};
    state::StateStack stack;
    // Names of the probe screens created so far, in order ("Pause", "Menu"...).
    std::vector<std::string> created;

private:
    template <typename T>
    struct Made : T {
        template <typename... Args>
        Made(state::StateStack& stack, const state::StateContext_t& context, T** out, Args... args)
            : T(stack, context, args...) {
            *out = this;
        }
    };
};

}  // namespace test
