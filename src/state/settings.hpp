#pragma once

#include "gui/background.hpp"
#include "gui/button.hpp"
#include "gui/container.hpp"
#include "gui/label.hpp"
#include "key_binding/player_action.hpp"
#include "state/state.hpp"

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace state::settings {

// Rebinds both local players' keys (arm an action's button, then press the new key), sets the
// music and sound volumes and switches between window and fullscreen.
class SettingsState : public State {
public:
    SettingsState(StateStack& stack, const StateContext_t& context);

    void Draw() override;
    bool Update(sf::Time dt) override;
    bool HandleEvent(const sf::Event& event) override;

private:
    enum Option { MUSIC, SOUND, FULLSCREEN, OPTION_COUNT };

    void UpdateLabels();
    void AddButtonLabel(key_binding::PlayerAction::t action, int player, float y, const std::string& caption);
    void AddOption(Option option, sf::Vector2f position, const std::string& caption, std::function<void()> action);
    void UpdateOptionLabels();
    // Left and right step the selected volume; true when the event did.
    bool HandleVolumeKeys(const sf::Event& event);
    int VolumeOf(Option option) const;
    void SetVolume(Option option, int volume);

    static constexpr std::size_t binding_count = 2 * key_binding::PlayerAction::COUNT;

    gui::background::Background background;
    gui::container::Container gui_container;
    std::array<std::shared_ptr<gui::button::Button>, binding_count> binding_buttons;
    std::array<std::shared_ptr<gui::label::Label>, binding_count> binding_labels;
    std::array<std::shared_ptr<gui::button::Button>, OPTION_COUNT> option_buttons;
    std::array<std::shared_ptr<gui::label::Label>, OPTION_COUNT> option_labels;
};

}  // namespace state::settings
