#pragma once

#include <cstdint>

namespace scene {

// Bit flags by which commands address nodes; a node reports one flag, a command carries a mask.
struct Category {
    enum t : std::uint32_t {
        NONE = 0,
        SCENE_AIR_LAYER = 1 << 0,
        PLAYER_CHARACTER = 1 << 1,
        ENEMY_CHARACTER = 1 << 3,
        PICKUP = 1 << 4,
        ALLIED_PROJECTILE = 1 << 5,
        ENEMY_PROJECTILE = 1 << 6,
        PARTICLE_SYSTEM = 1 << 7,
        SOUND_EFFECT = 1 << 8,
        NETWORK = 1 << 9,
    };
};

}  // namespace scene
