#include "settings/settings.hpp"

#include "key_binding/key_binding.hpp"

namespace settings {

Settings_t Defaults() {
    Settings_t defaults;
    for (std::size_t player = 0; player < 2; ++player) {
        const key_binding::KeyBinding binding(static_cast<int>(player) + 1);
        for (std::size_t action = 0; action < key_binding::PlayerAction::COUNT; ++action)
            defaults.keys[player][action] = binding.GetAssignedKey(static_cast<key_binding::PlayerAction::t>(action));
    }
    return defaults;
}

}  // namespace settings
