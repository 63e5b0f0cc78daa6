#include "support/helpers.hpp"

#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/System/Clock.hpp>

#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace test {

sf::Event KeyPress(sf::Keyboard::Key key) {
    sf::Event event{};
    event.type = sf::Event::KeyPressed;
    event.key.code = key;
    return event;
}

sf::Event KeyRelease(sf::Keyboard::Key key) {
    sf::Event event = KeyPress(key);
    event.type = sf::Event::KeyReleased;
    return event;
}

sf::Event PadEvent(sf::Event::EventType type, unsigned pad, unsigned code, float position) {
    sf::Event event{};
    event.type = type;
    if (type == sf::Event::JoystickMoved) event.joystickMove = {pad, static_cast<sf::Joystick::Axis>(code), position};
    if (type == sf::Event::JoystickButtonPressed || type == sf::Event::JoystickButtonReleased)
        event.joystickButton = {pad, code};
    if (type == sf::Event::JoystickConnected || type == sf::Event::JoystickDisconnected) event.joystickConnect = {pad};
    return event;
}

float FakePads::AxisPosition(unsigned pad, sf::Joystick::Axis axis) const {
    const auto& axes = pads.at(pad).axes;
    return axes.count(axis) ? axes.at(axis) : 0.f;
}

void Deliver(scene::SceneNode& root, command::CommandQueue& commands) {
    for (; !commands.empty(); commands.pop()) root.OnCommand(commands.front(), sf::Time::Zero);
}

bool Eventually(const std::function<bool()>& condition, sf::Time limit) {
    const sf::Clock clock;
    while (!condition()) {
        if (clock.getElapsedTime() > limit) return false;
        std::this_thread::yield();
    }
    return true;
}

std::string ErrorMessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "no exception";
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kirrow_test_XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary directory");
    path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

void WriteSilence(const std::filesystem::path& file, std::size_t frames, unsigned rate) {
    const std::vector<sf::Int16> samples(frames);
    sf::SoundBuffer buffer;
    if (!buffer.loadFromSamples(samples.data(), frames, 1, rate) || !buffer.saveToFile(file.string()))
        throw std::runtime_error("cannot write " + file.string());
}

std::vector<SoundProbe::Heard_t> SoundProbe::Heard() const {
    std::vector<Heard_t> heard;
    for (const sf::Sound& sound : sounds)
        for (std::size_t id = 0; id < holder::sound_files.size(); ++id)
            if (sound.getBuffer() == &sound_buffers.Get(static_cast<holder::SoundId>(id)))
                heard.push_back({static_cast<holder::SoundId>(id), {sound.getPosition().x, -sound.getPosition().y}});
    return heard;
}

namespace {

// Written once per test program. SFML picks a reader by the contents, not the name, so WAV files
// stand in for the MP3 tracks; they are long, so no test's playback reaches a track's end.
const std::filesystem::path& StandInTracks() {
    static const TempDir directory;
    static const bool written = [] {
        const char* const names[] = {"menu.mp3", "mission.mp3", "game_over.mp3"};
        for (std::size_t i = 0; i < 3; ++i) {
            WriteSilence(directory / "track.wav", 100000 * (i + 1), 1000);
            std::filesystem::rename(directory / "track.wav", directory / names[i]);
        }
        return true;
    }();
    (void)written;
    return directory.Path();
}

}  // namespace

MusicProbe::MusicProbe() : MusicPlayer(StandInTracks().string() + "/") {}

std::optional<MusicId> MusicProbe::Track() const {
    const long hundreds = std::lround(music.getDuration().asSeconds() / 100.f);
    if (hundreds < 1 || hundreds > 3) return std::nullopt;
    return static_cast<MusicId>(hundreds - 1);
}

FieldTest::FieldTest() {
    for (const auto id : {holder::TextureId::Character, holder::TextureId::Enemy, holder::TextureId::Projectile,
                          holder::TextureId::Explosion, holder::TextureId::Particle})
        textures.Load(id, holder::FileOf(id));
    fonts.Load(holder::FontId::Main, holder::FileOf(holder::FontId::Main));
    air_layer = &Attach(std::make_unique<scene::SceneNode>(scene::Category::SCENE_AIR_LAYER));
}

}  // namespace test
