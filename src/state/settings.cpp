#include "state/settings.hpp"

#include "audio/music_player.hpp"
#include "audio/sound_player.hpp"
#include "display/window_mode.hpp"
#include "input/menu_keys.hpp"
#include "input/pad_layout.hpp"
#include "key_binding/key_binding.hpp"
#include "key_binding/key_to_string.hpp"
#include "settings/volume.hpp"

#include <SFML/Graphics/RenderWindow.hpp>

#include <cassert>
#include <cmath>
#include <functional>
#include <string>

namespace state::settings {

using key_binding::PlayerAction;

SettingsState::SettingsState(StateStack& owner, const StateContext_t& shared_context)
    : State(owner, shared_context), background(gui::background::Background::Menu, shared_context) {
    for (int player = 0; player < 2; ++player) {
        AddButtonLabel(PlayerAction::MOVE_UP, player, 50.f, "Move up");
        AddButtonLabel(PlayerAction::MOVE_LEFT, player, 100.f, "Move left");
        AddButtonLabel(PlayerAction::MOVE_RIGHT, player, 150.f, "Move right");
        AddButtonLabel(PlayerAction::MOVE_DOWN, player, 200.f, "Move down");
        AddButtonLabel(PlayerAction::FIRE, player, 250.f, "Fire");
        AddButtonLabel(PlayerAction::LAUNCH_MISSILE, player, 300.f, "Launch missile");
    }
    UpdateLabels();

    // Enter on a volume steps it up, round from 100 to 0; left and right step it either way.
    AddOption(MUSIC, {50.f, 365.f}, "Music", [this] { SetVolume(MUSIC, ::settings::CycleVolume(VolumeOf(MUSIC))); });
    AddOption(SOUND, {350.f, 365.f}, "Sound", [this] { SetVolume(SOUND, ::settings::CycleVolume(VolumeOf(SOUND))); });
    AddOption(FULLSCREEN, {50.f, 415.f}, "Fullscreen", [this] {
        if (this->context.window_mode) this->context.window_mode->ToggleFullscreen();
        UpdateOptionLabels();
    });
    UpdateOptionLabels();

    // Packed last, so that Up from the first button still wraps round to it.
    auto back = std::make_shared<gui::button::Button>(shared_context);
    back->setPosition(350.f, 415.f);
    back->SetText("Back");
    back->SetCallback(std::bind(&SettingsState::RequestStackPop, this));
    gui_container.Pack(back);
}

void SettingsState::AddButtonLabel(PlayerAction::t action, int player, float y, const std::string& caption) {
    const std::size_t index = static_cast<std::size_t>(action) + PlayerAction::COUNT * static_cast<std::size_t>(player);
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

void SettingsState::AddOption(Option option, sf::Vector2f position, const std::string& caption,
                              std::function<void()> action) {
    auto& button = option_buttons[option];
    button = std::make_shared<gui::button::Button>(context);
    button->setPosition(position);
    button->SetText(caption);
    button->SetCallback(std::move(action));

    auto& label = option_labels[option];
    label = std::make_shared<gui::label::Label>("", *context.fonts);
    label->SetCharacterSize(20);
    label->setPosition(position + sf::Vector2f(204.f, 13.f));

    gui_container.Pack(button);
    gui_container.Pack(label);
}

int SettingsState::VolumeOf(Option option) const {
    const float volume = option == MUSIC ? context.music->GetVolume() : context.sounds->GetVolume();
    return static_cast<int>(std::lround(volume));
}

void SettingsState::SetVolume(Option option, int volume) {
    if (option == MUSIC)
        context.music->SetVolume(static_cast<float>(volume));
    else
        context.sounds->SetVolume(static_cast<float>(volume));
    UpdateOptionLabels();
}

void SettingsState::UpdateOptionLabels() {
    option_labels[MUSIC]->SetText("< " + std::to_string(VolumeOf(MUSIC)) + " >");
    option_labels[SOUND]->SetText("< " + std::to_string(VolumeOf(SOUND)) + " >");
    const bool fullscreen = context.window_mode && context.window_mode->IsFullscreen();
    option_labels[FULLSCREEN]->SetText(fullscreen ? "On" : "Off");
}

bool SettingsState::HandleVolumeKeys(const sf::Event& event) {
    const auto key = input::MenuKeyOf(event);
    int direction = 0;
    if (key == sf::Keyboard::Left || key == sf::Keyboard::A) direction = -1;
    if (key == sf::Keyboard::Right || key == sf::Keyboard::D) direction = +1;
    if (direction == 0) return false;
    for (const Option option : {MUSIC, SOUND}) {
        if (!option_buttons[option]->IsSelected()) continue;
        SetVolume(option, ::settings::StepVolume(VolumeOf(option), direction));
        // The click is heard at the new sound volume.
        context.sounds->Play(holder::SoundId::Button);
        return true;
    }
    return false;
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

// F11 may switch the window while this screen is open.
bool SettingsState::Update(sf::Time) {
    UpdateOptionLabels();
    return true;
}

bool SettingsState::HandleEvent(const sf::Event& event) {
    for (std::size_t i = 0; i < binding_count; ++i) {
        assert(binding_buttons[i].get());
        if (!binding_buttons[i]->IsActive()) continue;
        // Pads bind nothing; their B lets go of the armed button without changing its key.
        if (event.type == sf::Event::JoystickButtonPressed && event.joystickButton.button == input::PadButton::B)
            binding_buttons[i]->Deactivate();
        if (event.type == sf::Event::KeyPressed) {
            key_binding::KeyBinding& binding = i < PlayerAction::COUNT ? *context.key_binding_1 : *context.key_binding_2;
            binding.AssignKey(static_cast<PlayerAction::t>(i % PlayerAction::COUNT), event.key.code);
            binding_buttons[i]->Deactivate();
        }
        UpdateLabels();
        return false;
    }
    if (!HandleVolumeKeys(event)) gui_container.HandleEvent(event);
    return false;
}

}  // namespace state::settings
