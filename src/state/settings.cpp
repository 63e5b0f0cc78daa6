#include "state/settings.hpp"

#include "key_binding/key_binding.hpp"
#include "key_binding/key_to_string.hpp"

#include <SFML/Graphics/RenderWindow.hpp>

#include <cassert>
#include <functional>

namespace state::settings {

using key_binding::PlayerAction;

SettingsState::SettingsState(StateStack& stack, const StateContext_t& context)
    : State(stack, context), background(gui::background::Background::Menu, context) {
    for (int player = 0; player < 2; ++player) {
        AddButtonLabel(PlayerAction::MOVE_UP, player, 50.f, "Move up");
        AddButtonLabel(PlayerAction::MOVE_LEFT, player, 100.f, "Move left");
        AddButtonLabel(PlayerAction::MOVE_RIGHT, player, 150.f, "Move right");
        AddButtonLabel(PlayerAction::MOVE_DOWN, player, 200.f, "Move down");
        AddButtonLabel(PlayerAction::FIRE, player, 250.f, "Fire");
        AddButtonLabel(PlayerAction::LAUNCH_MISSILE, player, 300.f, "Launch missile");
    }
    UpdateLabels();

    auto back = std::make_shared<gui::button::Button>(context);
    back->setPosition(80.f, 375.f);
    back->SetText("Back");
    back->SetCallback(std::bind(&SettingsState::RequestStackPop, this));
    gui_container.Pack(back);
}

void SettingsState::AddButtonLabel(PlayerAction::t action, int player, float y, const std::string& caption) {
    const std::size_t index = action + PlayerAction::COUNT * static_cast<std::size_t>(player);
    auto& button = binding_buttons[index];
    button = std::make_shared<gui::button::Button>(context);
    button->setPosition(300.f * static_cast<float>(player) + 50.f, y);
    button->SetText(caption);
    button->SetToggle(true);

    auto& label = binding_labels[index];
    label = std::make_shared<gui::label::Label>("", *context.fonts);
    // Smaller than the captions, so that names like "Period" fit beside the right-hand column
    // and stand level with their buttons.
    label->SetCharacterSize(20);
    label->setPosition(300.f * static_cast<float>(player) + 254.f, y + 13.f);

    gui_container.Pack(button);
    gui_container.Pack(label);
}

void SettingsState::UpdateLabels() {
    for (std::size_t i = 0; i < PlayerAction::COUNT; ++i) {
        assert(binding_labels[i].get() && binding_labels[i + PlayerAction::COUNT].get());
        const auto action = static_cast<PlayerAction::t>(i);
        binding_labels[i]->SetText(KeyToString(context.key_binding_1->GetAssignedKey(action)));
        binding_labels[i + PlayerAction::COUNT]->SetText(KeyToString(context.key_binding_2->GetAssignedKey(action)));
    }
}

void SettingsState::Draw() {
    context.window->draw(background);
    context.window->draw(gui_container);
}

bool SettingsState::Update(sf::Time) { return true; }

bool SettingsState::HandleEvent(const sf::Event& event) {
    for (std::size_t i = 0; i < binding_count; ++i) {
        assert(binding_buttons[i].get());
        if (!binding_buttons[i]->IsActive()) continue;
        if (event.type == sf::Event::KeyPressed) {
            key_binding::KeyBinding& binding = i < PlayerAction::COUNT ? *context.key_binding_1 : *context.key_binding_2;
            binding.AssignKey(static_cast<PlayerAction::t>(i % PlayerAction::COUNT), event.key.code);
            binding_buttons[i]->Deactivate();
        }
        UpdateLabels();
        return false;
    }
    gui_container.HandleEvent(event);
    return false;
}

}  // namespace state::settings
