#include "input/gamepads.hpp"

#include "input/pad_layout.hpp"

#include <algorithm>
#include <tuple>
#include <utility>

namespace input {

using key_binding::PlayerAction;

Gamepads::Gamepads(const PadSource& pad_source) : source(pad_source) {
    for (unsigned pad = 0; pad < sf::Joystick::Count; ++pad)
        if (pad_source.IsConnected(pad)) Connect(pad);
}

void Gamepads::HandleEvent(const sf::Event& event) {
    if (event.type == sf::Event::JoystickConnected) Connect(event.joystickConnect.joystickId);
    if (event.type != sf::Event::JoystickDisconnected) return;
    for (auto& slot : slots)
        if (slot == event.joystickConnect.joystickId) slot.reset();
}

void Gamepads::Connect(unsigned pad) {
    if (std::find(slots.begin(), slots.end(), pad) != slots.end()) return;
    const auto free = std::find(slots.begin(), slots.end(), std::nullopt);
    if (free != slots.end()) *free = pad;
}

std::optional<unsigned> Gamepads::PadOf(int player) const {
    if (player < 0 || player >= player_count) return std::nullopt;
    return slots[static_cast<std::size_t>(player)];
}

Gamepads::HeldActions Gamepads::GetHeldActions(int player) const {
    HeldActions held{};
    const auto pad = PadOf(player);
    if (!pad || !source.IsConnected(*pad)) return held;
    const auto axis = [&](sf::Joystick::Axis stick, sf::Joystick::Axis dpad) {
        const float position = source.AxisPosition(*pad, stick);
        const float dpad_position = source.AxisPosition(*pad, dpad);
        return std::pair(position < -stick_dead_zone || dpad_position < -dpad_threshold,
                         position > stick_dead_zone || dpad_position > dpad_threshold);
    };
    std::tie(held[PlayerAction::MOVE_LEFT], held[PlayerAction::MOVE_RIGHT]) = axis(sf::Joystick::X, sf::Joystick::PovX);
    std::tie(held[PlayerAction::MOVE_UP], held[PlayerAction::MOVE_DOWN]) = axis(sf::Joystick::Y, sf::Joystick::PovY);
    held[PlayerAction::FIRE] = source.IsButtonPressed(*pad, PadButton::A);
    return held;
}

std::optional<PlayerAction::t> Gamepads::CheckButtonPress(int player, const sf::Event& event) const {
    if (event.type != sf::Event::JoystickButtonPressed || PadOf(player) != event.joystickButton.joystickId)
        return std::nullopt;
    if (event.joystickButton.button == PadButton::B) return PlayerAction::LAUNCH_MISSILE;
    return std::nullopt;
}

}  // namespace input
