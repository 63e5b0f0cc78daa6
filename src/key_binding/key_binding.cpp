#include "key_binding/key_binding.hpp"

#include "input/gamepads.hpp"

#include <algorithm>
#include <array>
#include <cassert>
#include <utility>

namespace key_binding {

namespace {

using DefaultKeys = std::array<sf::Keyboard::Key, PlayerAction::COUNT>;

// Indexed by action.
constexpr DefaultKeys player_1_keys = {sf::Keyboard::A, sf::Keyboard::D, sf::Keyboard::W,
                                       sf::Keyboard::S, sf::Keyboard::V, sf::Keyboard::B};
constexpr DefaultKeys player_2_keys = {sf::Keyboard::Left, sf::Keyboard::Right, sf::Keyboard::Up,
                                       sf::Keyboard::Down, sf::Keyboard::Comma, sf::Keyboard::Period};

}  // namespace

KeyBinding::KeyBinding(int player_number, HeldKeySource held_key_source)
    : is_key_held(std::move(held_key_source)),
      pad_player(player_number == 1 || player_number == 2 ? player_number - 1 : -1) {
    assert(this->is_key_held);
    const DefaultKeys* defaults = player_number == 1 ? &player_1_keys : player_number == 2 ? &player_2_keys : nullptr;
    if (!defaults) return;
    for (std::size_t action = 0; action < PlayerAction::COUNT; ++action)
        key_map.emplace((*defaults)[action], static_cast<PlayerAction::t>(action));
}

void KeyBinding::AssignKey(PlayerAction::t action, sf::Keyboard::Key key) {
    std::erase_if(key_map, [action](const auto& entry) { return entry.second == action; });
    key_map[key] = action;
}

void KeyBinding::UnassignAction(PlayerAction::t action) {
    std::erase_if(key_map, [action](const auto& entry) { return entry.second == action; });
}

sf::Keyboard::Key KeyBinding::GetAssignedKey(PlayerAction::t action) const {
    for (const auto& [key, bound] : key_map)
        if (bound == action) return key;
    return sf::Keyboard::Unknown;
}

std::optional<PlayerAction::t> KeyBinding::CheckAction(sf::Keyboard::Key key) const {
    const auto found = key_map.find(key);
    if (found == key_map.end()) return std::nullopt;
    return found->second;
}

std::vector<PlayerAction::t> KeyBinding::GetRealtimeActions() const {
    std::vector<PlayerAction::t> actions;
    for (const auto& [key, action] : key_map)
        if (is_key_held(key) && IsRealtimeAction(action)) actions.push_back(action);
    const auto pad = GetPadActions();
    for (int action = 0; action < PlayerAction::COUNT; ++action)
        if (pad[static_cast<std::size_t>(action)] && std::find(actions.begin(), actions.end(), action) == actions.end())
            actions.push_back(static_cast<PlayerAction::t>(action));
    return actions;
}

void KeyBinding::SetGamepads(const input::Gamepads* pads) { gamepads = pads; }

std::array<bool, PlayerAction::COUNT> KeyBinding::GetPadActions() const {
    if (!gamepads) return {};
    return gamepads->GetHeldActions(pad_player);
}

std::optional<PlayerAction::t> KeyBinding::CheckPadButton(const sf::Event& event) const {
    if (!gamepads) return std::nullopt;
    return gamepads->CheckButtonPress(pad_player, event);
}

bool KeyBinding::IsActionKeyHeld(PlayerAction::t action) const {
    const sf::Keyboard::Key key = GetAssignedKey(action);
    return key != sf::Keyboard::Unknown && is_key_held(key);
}

}  // namespace key_binding
