#pragma once

#include <filesystem>

namespace assetgen {

// texture/explosion.png: 16 frames of 256 x 256, four to a row: a flash that swells into a
// fireball, burns down and drifts off as smoke.
void MakeExplosionTexture(const std::filesystem::path& share);
// texture/particle.png: a soft white disc whose alpha falls to zero at its rim; particles tint it.
void MakeParticleTexture(const std::filesystem::path& share);

}  // namespace assetgen
