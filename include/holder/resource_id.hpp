#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace holder {

enum class TextureId : std::uint32_t {
    Character,
    Enemy,
    Background,
    Button,
    Projectile,
    Explosion,
    Jungle,
    Finish,
    Particle,
};

enum class FontId : std::uint32_t {
    Main,
};

// Every shader program pairs the one full-screen vertex shader with one of these fragment shaders.
enum class ShaderId : std::uint32_t {
    BrightnessPass,
    GaussianBlurPass,
    AddPass,
    DownSamplePass,
};

enum class SoundId : std::uint32_t {
    AlliedGunfire,
    EnemyGunfire,
    Explosion1,
    Explosion2,
    LaunchMissile,
    CollectPickup,
    Button,
};

inline constexpr std::array<const char*, 9> texture_files = {
    "../share/texture/character.png",  "../share/texture/enemy.png",     "../share/texture/background.png",
    "../share/texture/button.png",     "../share/texture/projectile.png", "../share/texture/explosion.png",
    "../share/texture/jungle.png",     "../share/texture/finish.png",     "../share/texture/particle.png",
};

inline constexpr std::array<const char*, 1> font_files = {"../share/font.ttf"};

inline constexpr const char* vertex_shader_file = "../share/shader/fullpass.vert";

inline constexpr std::array<const char*, 4> fragment_shader_files = {
    "../share/shader/brightness.frag",
    "../share/shader/gaussian_blur.frag",
    "../share/shader/add.frag",
    "../share/shader/down_sample.frag",
};

inline constexpr std::array<const char*, 7> sound_files = {
    "../share/sound/AlliedGunfire.wav", "../share/sound/EnemyGunfire.wav",  "../share/sound/Explosion1.wav",
    "../share/sound/Explosion2.wav",    "../share/sound/LaunchMissile.wav", "../share/sound/CollectPickup.wav",
    "../share/sound/Button.wav",
};

// The file that belongs to an identifier (bounds-checked through the tables above).
inline const char* FileOf(TextureId id) { return texture_files.at(static_cast<std::size_t>(id)); }
inline const char* FileOf(FontId id) { return font_files.at(static_cast<std::size_t>(id)); }
inline const char* FileOf(ShaderId id) { return fragment_shader_files.at(static_cast<std::size_t>(id)); }
inline const char* FileOf(SoundId id) { return sound_files.at(static_cast<std::size_t>(id)); }

}  // namespace holder
