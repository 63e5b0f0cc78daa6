#pragma once

#include <asset/texture_layout.hpp>

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

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

// The layout's sheet of each texture, in TextureId's order; the files are named by the layout.
inline constexpr std::array<const asset::Sheet_t*, 9> texture_sheets = {
    &asset::CHARACTER_SHEET,  &asset::ENEMY_SHEET,     &asset::BACKGROUND_SHEET,
    &asset::BUTTON_SHEET,     &asset::PROJECTILE_SHEET, &asset::EXPLOSION_SHEET,
    &asset::JUNGLE_SHEET,     &asset::FINISH_SHEET,     &asset::PARTICLE_SHEET,
};

inline const std::array<std::string, 9> texture_files = [] {
    std::array<std::string, 9> files;
    for (std::size_t i = 0; i < files.size(); ++i) files[i] = "../share/texture/" + std::string(texture_sheets[i]->file);
    return files;
}();

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

// The directory the assets are read from. The tables above name the files under the default,
// "../share", which is right when the working directory is a build tree's bin/; the program
// points it at the data it finds beside its executable before it loads anything.
inline std::string& DataDirectoryStorage() {
    static std::string directory = "../share";
    return directory;
}
inline const std::string& DataDirectory() { return DataDirectoryStorage(); }
inline void SetDataDirectory(std::string directory) { DataDirectoryStorage() = std::move(directory); }

// A table entry ("../share/...") moved under the current data directory.
inline std::string DataFile(std::string_view file) {
    constexpr std::string_view default_directory = "../share";
    assert(file.starts_with(default_directory));
    return DataDirectory() + std::string(file.substr(default_directory.size()));
}

// The file that belongs to an identifier (bounds-checked through the tables above).
inline std::string FileOf(TextureId id) {
    return DataDirectory() + "/texture/" + std::string(texture_sheets.at(static_cast<std::size_t>(id))->file);
}
inline std::string FileOf(FontId id) { return DataFile(font_files.at(static_cast<std::size_t>(id))); }
inline std::string FileOf(ShaderId id) { return DataFile(fragment_shader_files.at(static_cast<std::size_t>(id))); }
inline std::string FileOf(SoundId id) { return DataFile(sound_files.at(static_cast<std::size_t>(id))); }
inline std::string VertexShaderFile() { return DataFile(vertex_shader_file); }
inline std::string IconFile() { return DataFile("../share/icon.png"); }
inline std::string MusicDirectory() { return DataFile("../share/music/"); }

}  // namespace holder
