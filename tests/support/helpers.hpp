#pragma once

#include "audio/music_player.hpp"
#include "audio/sound_player.hpp"
#include "command/command.hpp"
#include "scene/scene_node.hpp"

#include <holder/resource_holder.hpp>
#include <holder/resource_id.hpp>

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Window/Event.hpp>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// Helpers shared by the unit tests: input, command delivery, resource errors, scratch files, the
// audio players opened up for inspection, and a small playing field.
namespace test {

using Textures = holder::ResourceHolder<sf::Texture, holder::TextureId>;
using Fonts = holder::ResourceHolder<sf::Font, holder::FontId>;

inline const sf::Time step = sf::microseconds(16666);

sf::Event KeyPress(sf::Keyboard::Key key);
sf::Event KeyRelease(sf::Keyboard::Key key);

// Delivers every queued command through the tree, as the world does once per update.
void Deliver(scene::SceneNode& root, command::CommandQueue& commands);

// The text of the std::runtime_error that `action` throws.
template <typename Action>
std::string ErrorMessageOf(Action&& action) {
    try {
        action();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "no exception";
}

// A fresh directory under the system's temporary directory, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path; }
    std::filesystem::path operator/(const std::string& name) const { return path / name; }

private:
    std::filesystem::path path;
};

// A sine tone, interleaved, the same on every channel.
std::vector<sf::Int16> Tone(float frequency, float seconds, unsigned rate, unsigned channels, float amplitude = 0.5f);
void WriteWav(const std::filesystem::path& file, const std::vector<sf::Int16>& samples, unsigned channels,
              unsigned rate);

// The real sound player, with a view of the sounds it has started.
class SoundProbe : public SoundPlayer {
public:
    using SoundPlayer::SoundPlayer;
    using SoundPlayer::sound_buffers;
    using SoundPlayer::sounds;

    struct Heard_t {
        holder::SoundId id;
        sf::Vector2f position;  // in the world: audio space (x, -y) turned back
        bool operator==(const Heard_t&) const = default;
    };
    // Every live sound, oldest first.
    std::vector<Heard_t> Heard() const;
};

// The real music player over stand-in tracks that differ in length (menu 100 s, mission 200 s,
// game over 300 s), so the stream shows which track plays.
class MusicProbe : public MusicPlayer {
public:
    MusicProbe();
    using MusicPlayer::music;

    // The track last opened, if any.
    std::optional<MusicId> Track() const;
    sf::SoundSource::Status Status() const { return music.getStatus(); }
};

// Blank sheets stand in for the game textures: the objects read only fixed rectangles of them,
// so the logic needs no artwork. The width is the explosion sheet's, whose frames wrap at it.
void LoadBlankSheets(Textures& textures);

// A small playing field: a root with the air layer under it, and the one command queue.
class FieldTest : public ::testing::Test {
protected:
    FieldTest();

    template <typename Node>
    Node& Attach(std::unique_ptr<Node> node, scene::SceneNode* parent = nullptr) {
        Node& result = *node;
        (parent ? *parent : root).AttachChild(std::move(node));
        return result;
    }
    void Deliver() { test::Deliver(root, commands); }
    // Counts and drops the queued commands addressed to `category`; keeps the others queued.
    int Take(std::uint32_t category);

    Textures textures;
    Fonts fonts;
    scene::SceneNode root;
    scene::SceneNode* air_layer = nullptr;
    command::CommandQueue commands;
};

}  // namespace test
