#include "settings/settings.hpp"

#include "key_binding/key_binding.hpp"

namespace settings {

Settings_t Defaults() {
    Settings_t defaults;
    for (int player = 0; player < 2; ++player) {
        const key_binding::KeyBinding binding(player + 1);
        for (int action = 0; action < key_binding::PlayerAction::COUNT; ++action)
            defaults.keys[player][action] = binding.GetAssignedKey(static_cast<key_binding::PlayerAction::t>(action));
    }
    return defaults;
}

}  // namespace settings
