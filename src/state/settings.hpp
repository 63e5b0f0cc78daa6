#pragma once

#include "gui/background.hpp"
#include "gui/button.hpp"
#include "gui/container.hpp"
#include "gui/label.hpp"
#include "key_binding/player_action.hpp"
#include "state/state.hpp"

#include <array>
#include <memory>
#include <string>

namespace state::settings {

// Rebinds both local players' keys: arm an action's button, then press the new key.
class SettingsState : public State {
public:
    SettingsState(StateStack& stack, const StateContext_t& context);

    void Draw() override;
    bool Update(sf::Time dt) override;
    bool HandleEvent(const sf::Event& event) override;

    void UpdateLabels();
    const gui::label::Label& GetLabel(std::size_t index) const { return *binding_labels.at(index); }

private:
    void AddButtonLabel(key_binding::PlayerAction::t action, int player, float y, const std::string& caption);

    static constexpr std::size_t binding_count = 2 * key_binding::PlayerAction::COUNT;

    gui::background::Background background;
    gui::container::Container gui_container;
    std::array<std::shared_ptr<gui::button::Button>, binding_count> binding_buttons;
    std::array<std::shared_ptr<gui::label::Label>, binding_count> binding_labels;
};

}  // namespace state::settings
