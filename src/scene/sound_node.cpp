#include "scene/sound_node.hpp"

#include "audio/sound_player.hpp"

namespace scene {

SoundNode::SoundNode(SoundPlayer& player) : SceneNode(Category::NONE), sounds(player) {}

std::uint32_t SoundNode::GetCategory() const { return Category::SOUND_EFFECT; }

void SoundNode::PlaySound(holder::SoundId sound, sf::Vector2f position) { sounds.Play(sound, position); }

}  // namespace scene
