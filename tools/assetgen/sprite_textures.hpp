#pragma once

#include <filesystem>

namespace assetgen {

// texture/character.png: the allied aircraft with their banking frames, the allied bullet and the
// missile.
void MakeCharacterTexture(const std::filesystem::path& share);
// texture/enemy.png: the two enemy aircraft.
void MakeEnemyTexture(const std::filesystem::path& share);
// texture/projectile.png: the enemy bullet and the four pickups.
void MakeProjectileTexture(const std::filesystem::path& share);

}  // namespace assetgen
