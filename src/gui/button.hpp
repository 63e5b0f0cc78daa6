#pragma once

#include "gui/component.hpp"
#include "state/state_context.hpp"

#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Text.hpp>

#include <functional>
#include <string>

class SoundPlayer;

namespace gui::button {

// A 200 x 50 button with a centred caption. Its look follows its flags: normal, selected, or
// pressed while a toggle button is active. Activation runs the callback, then plays the click.
class Button : public component::Component {
public:
    explicit Button(const state::StateContext_t& context);

    void SetCallback(std::function<void()> action);
    void SetText(const std::string& caption);
    // A toggle button stays active until something deactivates it; a plain one lets go at once.
    void SetToggle(bool toggle);

    bool IsSelectable() const override { return true; }
    void Select() override;
    void Deselect() override;
    void Activate() override;
    void Deactivate() override;
    // An active toggle button receives the container's events only to ignore them.
    void HandleEvent(const sf::Event&) override {}

private:
    void draw(sf::RenderTarget& target, sf::RenderStates states) const override;

    std::function<void()> callback;
    sf::Sprite sprite;
    SoundPlayer& sounds;
    sf::Text text;
    bool is_toggle = false;
};

}  // namespace gui::button
