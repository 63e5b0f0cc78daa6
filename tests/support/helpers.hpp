#pragma once

#include "audio/music_player.hpp"
#include "audio/sound_player.hpp"
#include "command/command.hpp"
#include "input/pad_source.hpp"
#include "scene/scene_node.hpp"

#include <holder/holders.hpp>

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Window/Event.hpp>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

// Helpers shared by the unit tests.
namespace test {

using Textures = holder::TextureHolder;
using Fonts = holder::FontHolder;

inline const sf::Time step = sf::microseconds(16666);

sf::Event KeyPress(sf::Keyboard::Key key);
sf::Event KeyRelease(sf::Keyboard::Key key);
// A gamepad event: `code` is the button or the axis (connections use only the pad).
sf::Event PadEvent(sf::Event::EventType type, unsigned pad, unsigned code = 0, float position = 0.f);

// Gamepads without a device: what each plugged-in pad holds is set by the test.
struct FakePads : input::PadSource {
    struct Pad_t {
        std::set<unsigned> buttons;
        std::map<sf::Joystick::Axis, float> axes;
    };
    bool IsConnected(unsigned pad) const override { return pads.count(pad) > 0; }
    bool IsButtonPressed(unsigned pad, unsigned button) const override { return pads.at(pad).buttons.count(button); }
    float AxisPosition(unsigned pad, sf::Joystick::Axis axis) const override;

    std::map<unsigned, Pad_t> pads;
};

// Delivers every queued command through the tree, as the world does once per update.
void Deliver(scene::SceneNode& root, command::CommandQueue& commands);

// Polls `condition` until it holds; the generous limit of real time only decides failure.
bool Eventually(const std::function<bool()>& condition, sf::Time limit = sf::seconds(30));

// The text of the std::runtime_error that `action` throws.
std::string ErrorMessageOf(const std::function<void()>& action);

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

// A mono WAV file of `frames` silent samples.
void WriteSilence(const std::filesystem::path& file, std::size_t frames, unsigned rate);

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
    std::optional<MusicId> Track() const;
    sf::SoundSource::Status Status() const { return music.getStatus(); }
};

// A small playing field: a root with the air layer under it and the one command queue.
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

    Textures textures;
    Fonts fonts;
    SoundProbe sounds;
    scene::SceneNode root;
    scene::SceneNode* air_layer = nullptr;
    command::CommandQueue commands;
};

}  // namespace test
