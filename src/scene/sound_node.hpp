#pragma once

#include "scene/scene_node.hpp"

#include <holder/resource_id.hpp>

class SoundPlayer;

namespace scene {

// The tree's entry point for positional sound effects, reached by SOUND_EFFECT commands.
class SoundNode : public SceneNode {
public:
    explicit SoundNode(SoundPlayer& player);

    std::uint32_t GetCategory() const override;
    void PlaySound(holder::SoundId sound, sf::Vector2f position);

private:
    SoundPlayer& sounds;
};

}  // namespace scene
